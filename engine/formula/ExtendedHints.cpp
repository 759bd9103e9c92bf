#include "formula/ExtendedEquation.h"

namespace qivara {

std::string_view ExtendedHintText(ExtendedHint hint) {
    switch (hint) {
        case ExtendedHint::NoSign:
            return "缺少反应符号：请用“=”或“→”把反应物和生成物隔开";
        case ExtendedHint::TwoSigns:
            return "出现了第二个反应符号：有机物请写分子式，如CH2=CH2写作C2H4";
        case ExtendedHint::EmptySide:
            return "反应符号的一边没有物质";
        case ExtendedHint::EmptySpecies:
            return "加号前后缺少物质：离子的电荷请写作Fe^3+，或用上标";
        case ExtendedHint::EmptyFormula:
            return "这里缺少化学式";
        case ExtendedHint::AmbiguousMinus:
            return "数字后的负号有歧义：请写作MnO4^-、SO4^2-，或用上标";
        case ExtendedHint::UnclosedBracket:
            return "括号没有闭合";
        case ExtendedHint::WrongBracket:
            return "括号不配对：右括号与左括号的种类不同或没有对应的左括号";
        case ExtendedHint::SmallLetterStart:
            return "元素符号应以大写字母开头";
        case ExtendedHint::ZeroCount:
            return "个数不能为0";
        case ExtendedHint::ChargeNotAtEnd:
            return "电荷只能写在化学式的末尾";
        case ExtendedHint::SuperscriptWithoutSign:
            return "上标数字缺少正负号：电荷请写作^2+，下标请用普通数字";
        case ExtendedHint::DigitBeforeSuperscriptSign:
            return "数字后紧跟上标正负号有歧义：电荷请写作Cu^2+，个数请写作下标";
        case ExtendedHint::HalfReactionMinus:
            return "半反应中不能减去电子：请把电子移到另一边，如Zn=Zn^2++2e^-";
        case ExtendedHint::ThermochemicalTail:
            return "不能配平热化学方程式：请去掉“;ΔH=…”部分";
        case ExtendedHint::NotASymbol:
            return "这里应为元素符号：元素符号只能用英文字母";
        case ExtendedHint::UnexpectedCharacter:
            return "这里的字符无法识别";
        case ExtendedHint::CountTooLarge:
            return "数目过大，超出了能精确计算的范围";
        case ExtendedHint::NoElements:
            return "方程式的一边没有任何元素";
    }
    return "这里的字符无法识别";
}

}  // namespace qivara
