#pragma once
// The fixed equation sets of qivara-bench.

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

// Kernels of dimension 3 and 4: the fast search's worst case.
inline const std::vector<std::string> kWorstCaseEquations{
    "H2+H4=H6+H8",
    "C+O2+CO=CO2+O3",
    "H2+H4+H6=H8+H10",
    "H2+O2+H2O=H2O2+H4O3+O3",
};

}  // namespace qivara::bench
