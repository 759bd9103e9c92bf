#pragma once
// The fixed equation sets of qivara-bench.

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace qivara::bench {

// Real reactions, 2 to 9 species, kernels of dimension 1 and 2, with the equations whose orders
// and filtered results the engine tests check among them.
inline const std::vector<std::string> kRealEquations{
    "H2+O2=H2O",
    "O2+H2=H2O",
    "O2=O3",
    "H2O=H2O2",
    "Cu+HNO3=Cu(NO3)2+NO+H2O",
    "MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O",
    "KMnO4+HCl=KCl+MnCl2+Cl2+H2O",
    "Ca(OH)2+H3PO4=Ca3(PO4)2+H2O",
    "CH4+O2=CO2+H2O",
    "C3H8+O2=CO2+H2O",
    "Fe2O3+CO=Fe+CO2",
    "Al+O2=Al2O3",
    "N2+H2=NH3",
    "Fe+Cl2=FeCl3",
    "NaOH+H2SO4=Na2SO4+H2O",
    "C6H12O6+O2=CO2+H2O",
    "K2Cr2O7+HCl=KCl+CrCl3+Cl2+H2O",
    "Cu+H2SO4=CuSO4+SO2+H2O",
    "FeS2+O2=Fe2O3+SO2",
    "NH3+O2=NO+H2O",
    "KClO3=KCl+O2",
    "Zn+HNO3=Zn(NO3)2+NH4NO3+H2O",
    "KMnO4+FeSO4+H2SO4=K2SO4+MnSO4+Fe2(SO4)3+H2O",
    "K2Cr2O7+FeSO4+H2SO4=Cr2(SO4)3+Fe2(SO4)3+K2SO4+H2O",
    "KMnO4+H2C2O4+H2SO4=K2SO4+MnSO4+CO2+H2O",
    "As2S3+HNO3+H2O=H3AsO4+H2SO4+NO",
    "Cu2S+HNO3=Cu(NO3)2+CuSO4+NO2+H2O",
    "P4+NaOH+H2O=NaH2PO2+PH3",
    "Ca3(PO4)2+SiO2+C=CaSiO3+P4+CO",
    "Fe3O4+Al=Al2O3+Fe",
    "NaHCO3=Na2CO3+H2O+CO2",
    "PbS+H2O2=PbSO4+H2O",
    "K4Fe(CN)6+KMnO4+H2SO4=KHSO4+Fe2(SO4)3+MnSO4+HNO3+CO2+H2O",
    "H2+O2=H2O+H2O2",
    "C+O2=CO+CO2",
    "KClO3=KCl+KClO4+O2",
    "Fe+O2=FeO+Fe2O3",
    "Cu+HNO3=Cu(NO3)2+NO+NO2+H2O",
    "CH4+O2=CO+CO2+H2O",
    "S+HNO3=H2SO4+NO2+NO+H2O",
    "KMnO4+H2O2+H2SO4=K2SO4+MnSO4+O2+H2O",
    "H100000(SO4)50000=SO3+H2O",
};

// Kernels of dimension 3 to 7 with up to 10 species: runs of values that lead nowhere, long
// enough to stall a walk that steps through them, and the comparison with the literal search.
inline const std::vector<std::string> kWorstCaseEquations{
    "H2+H4=H6+H8",
    "C+O2+CO=CO2+O3",
    "H2+H4+H6=H8+H10",
    "H2+O2+H2O=H2O2+H4O3+O3",
    "C+CO+CO2=C+CO",
    "S+O2+O3=SO2+SO3",
    "NH4NO3=N2+O2+H2O+N2O+NO+NO2",
    "P+O2+H2O=P4O6+P4O10+H3PO3+H3PO4",
    "Fe+O2+H2O=FeO+Fe2O3+Fe3O4+Fe(OH)2+Fe(OH)3",
    "C+H2+O2=CH4+C2H6+C3H8+CO+CO2+H2O",
    "Cu+HNO3=Cu(NO3)2+NO+NO2+N2O+N2+NH4NO3+H2O",
    "Zn+HNO3+H2SO4=Zn(NO3)2+ZnSO4+NO+NO2+SO2+H2O",
    "O2+O3+C+NO+N2O+NO2+N2O4=CO+CO2+N2",
    "Fe+HNO3=Fe(NO3)3+Fe(NO3)2+NO+NO2+N2O+N2+NH4NO3+H2O",
};

// Symbols the generators draw from: the planted generators take the first `elements` of it.
inline const char* const kPlantedSymbols[] = {"H",  "O",  "C",  "N",  "S",  "P",  "K",  "Cl", "Fe",
                                              "Na", "Ca", "Mg", "Al", "Si", "Cu", "Zn", "Mn", "Br"};
inline constexpr int kPlantedSymbolCount = static_cast<int>(std::size(kPlantedSymbols));

inline int Uniform(std::mt19937& random, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }

// A random equation of `species` species over the first `elements` (at most kPlantedSymbolCount)
// symbols, with a planted solution: coefficients 1 to 3 for all but the last product, which
// holds whatever they leave over. Each symbol of a species has a count drawn by `count(random)`.
// Empty when the leftover would be negative.
template <typename Count>
std::string PlantedEquation(std::mt19937& random, int species, int elements, Count count) {
    const int reactants = Uniform(random, 1, species - 1);
    std::vector<long long> left(static_cast<std::size_t>(elements), 0);
    std::string equation;
    for (int k = 0; k + 1 < species; ++k) {
        const int sign = k < reactants ? 1 : -1;
        const int coefficient = Uniform(random, 1, 3);
        std::string formula;
        while (formula.empty()) {
            for (int e = 0; e < elements; ++e) {
                if (Uniform(random, 0, 9) >= 4) continue;
                const long long value = count(random);
                formula += kPlantedSymbols[e] + std::to_string(value);
                left[static_cast<std::size_t>(e)] += sign * coefficient * value;
            }
        }
        equation += (k == 0 ? "" : k == reactants ? "=" : "+") + formula;
    }
    std::string last;
    for (int e = 0; e < elements; ++e) {
        const long long value = left[static_cast<std::size_t>(e)];
        if (value < 0) return {};
        if (value > 0) last += kPlantedSymbols[e] + std::to_string(value);
    }
    if (last.empty()) return {};
    return equation + (species - 1 == reactants ? "=" : "+") + last;
}

// The planted equations of the generated set: counts 1 to 4, coefficients 1 to 3.
inline std::string PlantedEquation(std::mt19937& random, int species, int elements) {
    return PlantedEquation(random, species, elements, [](std::mt19937& r) { return Uniform(r, 1, 4); });
}

// Planted equations with counts of 5 to 9 digits (10^4 to 10^9 - 1, the number of digits drawn
// first) and coefficients 1 to 3. The leftover product may pass what a formula may count: the
// caller keeps only what PrepareSearch accepts.
inline std::string LargeCountEquation(std::mt19937& random, int species, int elements) {
    return PlantedEquation(random, species, elements, [](std::mt19937& r) {
        static constexpr int kLow[] = {10'000, 100'000, 1'000'000, 10'000'000, 100'000'000};
        const int digits = Uniform(r, 0, 4);
        return Uniform(r, kLow[digits], kLow[digits] * 10 - 1);
    });
}

// Counts that overflow 128 bits in the kernel, from a short random search: the first took
// seconds at (64,16) when an overflow sent the whole box to the literal enumeration.
inline const std::vector<std::string> kLargeCountEquations{
    "H9592056O6423621C2774956=C1037958+H2210275+O2302273C190995+H5881584O866855C7659864",
};

// Kernels of dimension 2 whose integer points below about 10^8 are all multiples of the first
// record (the all-ones vector), so that every value of the first level up to there holds one
// rejected point. The first is from a random search; its second record is
// 262270915,60072872,25455107,2,117990017. The others share its pattern (the all-ones vector
// planted, 3- and 4-digit counts) and were kept for a second record whose last coefficient lies
// between 1.1e8 and 4.1e8 (computed exactly outside the program).
inline const std::vector<std::string> kMultiplesOnlyEquations{
    "H390+Al821H0+Br0737H0756Al0=Br578H116(Al403)0+Br159Al418H1030",
    "H187+Al1489+Br881H481=Br703H166Al499+Br178Al990H502",
    "H156+Al994+Br1429H971=Br907H394Al863+Br522Al131H733",
    "H189+Al1531+Br1399H782=Br884H258Al572+Br515Al959H713",
    "H169+Al1093+Br1034H723=Br787H146Al249+Br247Al844H746",
};

// Many species with kernels of dimension 11 and 7: the second hung at the window's defaults
// (16,1) when an overflow sent the whole box to the literal enumeration (shrunk from a random
// equation).
inline const std::vector<std::string> kHighDimensionEquations{
    "CuFeS2+O2+SiO2+C+CaCO3+H2O+N2=Cu2S+FeSiO3+SO2+CO2+CaO+FeO+Cu+Fe2O3+Cu2O+SO3+NH3+HNO3+CaSiO3",
    "OCl9+O16H27+NaS26Cl+S7NC70+O30K+N17Fe61+H51C2Na23+Mn4+Fe46Na5H95=H8NaC5+S12OCl+O19FeCl5+Na61+Fe21S13Cl+"
    "Mn15NaK31+S9ON12+Cl25Na2H5",
};

// The symbols the window-sized random equations draw from.
inline const char* const kRandomSymbols[] = {"H",  "O",  "C",  "N",  "S",  "Cl", "Na", "K",
                                             "Fe", "Mn", "Ca", "Al", "Cu", "P",  "Br"};

// A random equation that fits the window's equation box: 2 to 10 of kRandomSymbols, 3 to 24
// species of 1 to 3 distinct symbols each, counts mostly 1 to 4 and one time in six 1 to 99 (a
// count of 1 written as none), a random split into reactants and products. Empty when it is
// longer than 256 bytes or a symbol is missing on one side (the program refuses those); most
// of the rest have no solution in any small box.
inline std::string RandomWindowEquation(std::mt19937& random) {
    std::vector<std::string> symbols(std::begin(kRandomSymbols), std::end(kRandomSymbols));
    std::shuffle(symbols.begin(), symbols.end(), random);
    symbols.resize(static_cast<std::size_t>(Uniform(random, 2, 10)));
    const int species = Uniform(random, 3, 24);
    const int reactants = Uniform(random, 1, species - 1);
    std::vector<std::string> sideSymbols[2];
    std::string equation;
    for (int k = 0; k < species; ++k) {
        std::vector<std::string> chosen = symbols;
        std::shuffle(chosen.begin(), chosen.end(), random);
        chosen.resize(std::min(chosen.size(), static_cast<std::size_t>(Uniform(random, 1, 3))));
        std::string formula;
        for (const std::string& symbol : chosen) {
            static constexpr int kSmall[] = {1, 1, 2, 3, 4};
            const int pick = Uniform(random, 0, 5);
            const int count = pick < 5 ? kSmall[pick] : Uniform(random, 1, 99);
            formula += symbol + (count == 1 ? std::string() : std::to_string(count));
        }
        std::vector<std::string>& side = sideSymbols[k < reactants ? 0 : 1];
        side.insert(side.end(), chosen.begin(), chosen.end());
        equation += (k == 0 ? "" : k == reactants ? "=" : "+") + formula;
    }
    if (equation.size() > 256) return {};
    for (std::vector<std::string>& side : sideSymbols) {
        std::sort(side.begin(), side.end());
        side.erase(std::unique(side.begin(), side.end()), side.end());
    }
    if (sideSymbols[0] != sideSymbols[1]) return {};
    return equation;
}

}  // namespace qivara::bench
