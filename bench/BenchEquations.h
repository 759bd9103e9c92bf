#pragma once
// The fixed equation sets of qivara-bench.

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

// A random equation of `species` species over the first `elements` symbols of a pool, with a
// planted solution: coefficients 1 to 3 for all but the last product, which holds whatever they
// leave over. Empty when the leftover would be negative.
inline std::string PlantedEquation(std::mt19937& random, int species, int elements) {
    static const char* const pool[] = {"H", "O", "C", "N", "S", "P", "K", "Cl", "Fe"};
    const auto uniform = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const int reactants = uniform(1, species - 1);
    std::vector<long> left(static_cast<std::size_t>(elements), 0);
    std::string equation;
    for (int k = 0; k + 1 < species; ++k) {
        const int sign = k < reactants ? 1 : -1;
        const int coefficient = uniform(1, 3);
        std::string formula;
        while (formula.empty()) {
            for (int e = 0; e < elements; ++e) {
                if (uniform(0, 9) >= 4) continue;
                const int count = uniform(1, 4);
                formula += pool[e] + std::to_string(count);
                left[static_cast<std::size_t>(e)] += sign * coefficient * count;
            }
        }
        equation += (k == 0 ? "" : k == reactants ? "=" : "+") + formula;
    }
    std::string last;
    for (int e = 0; e < elements; ++e) {
        if (left[static_cast<std::size_t>(e)] < 0) return {};
        if (left[static_cast<std::size_t>(e)] > 0) last += pool[e] + std::to_string(left[static_cast<std::size_t>(e)]);
    }
    if (last.empty()) return {};
    return equation + (species - 1 == reactants ? "=" : "+") + last;
}

}  // namespace qivara::bench
