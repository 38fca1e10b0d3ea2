// Handlers of the interpreter's own commands.
#include "script/core_commands.h"

#include "platform/platform.h"
#include "base/errors.h"
#include "base/text.h"
#include "base/units.h"

namespace korvel {

const char* const kKorvelHomePage = "https://korvel-cam.org/";

int VerCom(const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    // The thousandth taken off lets a file of this very version pass despite rounding.
    float version = static_cast<float>(ArgF(1) - 0.001);
    if (version <= kKorvelVersion)
        return 1;
    if (!file)
        return 0;
    ShowMessage(Sprintf("File has been created by a newer version (%0.2f).\n"
                        "You can upgrade KORVEL for free at %s",
                        version, kKorvelHomePage),
                "WARNING!", kMbOk | kMbIconExclamation);
    return 1;
}

int UserUnitCom(const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    int unit = ParseUnitWord(Arg(1).c_str());
    if (unit < 0)
        return OutOfRange(file, line);
    SetUserUnit(unit);
    return 1;
}

int ProjectUnitCom(const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    int unit = ParseUnitWord(Arg(1).c_str());
    if (unit < 0)
        return OutOfRange(file, line);
    // A declaration equal to the user unit leaves the factor as it is.
    if (unit != UserUnit())
        SetUnitFactor(FactorFromUnit(unit));
    return 1;
}

int EndOfFileCom(const char* file, int line) {
    SetUnitFactor(1.0);
    return ArgCount() == 1 ? 1 : SyntaxError(file, line);
}

int MessageCom(const char*, int) {
    int count = ArgCount();
    if (count >= 2) {
        std::string text = Arg(1);
        for (int i = 2; i < count; ++i)
            text += ' ' + Arg(i);
        ShowMessage(text, "User message", kMbOk);
        RedrawMainWindow();
    }
    return 1;
}

int ConfigCom(const char*, int) { return 1; }
int BaseCom(const char*, int) { return 1; }

int DefineCom(const char*, int) {
    SetDefinitionMode(1);
    return 1;
}

int CDDepthCom(const char* file, int line) { return NotSupported(file, line); }

} // namespace korvel
