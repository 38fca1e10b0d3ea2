// The keyword table: names in code order and the handler of each command.
// To give a keyword its handler, name the function in its row.
#include "script/keywords.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "script/core_commands.h"
#include "script/interpreter.h"
#include "script/text.h"

namespace korvel {

namespace {

struct Keyword {
    std::string_view name;
    CommandHandler handler;
};

constexpr std::array<Keyword, kKeywordCount> kKeywords = {{
    /*   0 */ {"INCLUDE", IncludeCom},
    /*   1 */ {"PROGRAM", nullptr},
    /*   2 */ {"GCFILE", nullptr},
    /*   3 */ {"BLOCK", nullptr},
    /*   4 */ {"MATERIAL", nullptr},
    /*   5 */ {"COORDINATES", nullptr},
    /*   6 */ {"LIBRARY", nullptr},
    /*   7 */ {"MILLTYPE", nullptr},
    /*   8 */ {"TABLE", nullptr},
    /*   9 */ {"HTSLOTS", nullptr},
    /*  10 */ {"VTSLOTS", nullptr},
    /*  11 */ {"ATTTOOL", nullptr},
    /*  12 */ {"PART", nullptr},
    /*  13 */ {"PROJECT", nullptr},
    /*  14 */ {"DESCRIPTION", nullptr},
    /*  15 */ {"RBULGE", nullptr},
    /*  16 */ {"BULGE", nullptr},
    /*  17 */ {"END", nullptr},
    /*  18 */ {"CBULGE", nullptr},
    /*  19 */ {"POLYGON", nullptr},
    /*  20 */ {"RPOCKET", nullptr},
    /*  21 */ {"COMMENTS", nullptr},
    /*  22 */ {"DRILL", nullptr},
    /*  23 */ {"THREAD", nullptr},
    /*  24 */ {"BORE", nullptr},
    /*  25 */ {"BASE", BaseCom},
    /*  26 */ {"LONGHOLE", nullptr},
    /*  27 */ {"POCKET", nullptr},
    /*  28 */ {"TOPFACE", nullptr},
    /*  29 */ {"CORRIDOR", nullptr},
    /*  30 */ {"POSTPROC", nullptr},
    /*  31 */ {"LINETO", nullptr},
    /*  32 */ {"CCWTO", nullptr},
    /*  33 */ {"CWTO", nullptr},
    /*  34 */ {"", nullptr},  // no keyword
    /*  35 */ {"", nullptr},  // no keyword
    /*  36 */ {"CLEANDRILLS", nullptr},
    /*  37 */ {"USE", nullptr},
    /*  38 */ {"FIXTURE", nullptr},
    /*  39 */ {"DELAY", nullptr},
    /*  40 */ {"OBJECTID", nullptr},
    /*  41 */ {"CENTERDRILLING", nullptr},
    /*  42 */ {"BORING", nullptr},
    /*  43 */ {"CONTURING", nullptr},
    /*  44 */ {"WORKSPACE", nullptr},
    /*  45 */ {"USER", nullptr},
    /*  46 */ {"HTMLVIEW", nullptr},
    /*  47 */ {"HELP", nullptr},
    /*  48 */ {"EDIT", nullptr},
    /*  49 */ {"CONFIG", ConfigCom},
    /*  50 */ {"TOOLCHANGE", nullptr},
    /*  51 */ {"CHARACTER", nullptr},
    /*  52 */ {"JUMPTO", nullptr},
    /*  53 */ {"ENG_TEXT", nullptr},
    /*  54 */ {"INFO_TEXT", nullptr},
    /*  55 */ {"TEXTSIZE", nullptr},
    /*  56 */ {"DWGEDITOR", nullptr},
    /*  57 */ {"DWGFILE", nullptr},
    /*  58 */ {"NOOFPARTS", nullptr},
    /*  59 */ {"ENG_CLA", nullptr},
    /*  60 */ {"INFO_CLA", nullptr},
    /*  61 */ {"QUALITY", nullptr},
    /*  62 */ {"PROGSTART", nullptr},
    /*  63 */ {"PROGEND", nullptr},
    /*  64 */ {"", nullptr},  // no keyword
    /*  65 */ {"", nullptr},  // no keyword
    /*  66 */ {"VER", VerCom},
    /*  67 */ {"RPLANE", nullptr},
    /*  68 */ {"QPLANE", nullptr},
    /*  69 */ {"OVERLAP", nullptr},
    /*  70 */ {"RFOVERLAP", nullptr},
    /*  71 */ {"FFOVERLAP", nullptr},
    /*  72 */ {"FFDZ", nullptr},
    /*  73 */ {"FFDXY", nullptr},
    /*  74 */ {"RFDZ", nullptr},
    /*  75 */ {"RFSOR", nullptr},
    /*  76 */ {"RFFOR", nullptr},
    /*  77 */ {"MINBTXD", nullptr},
    /*  78 */ {"DFTLEX", nullptr},
    /*  79 */ {"THREADTYPE", nullptr},
    /*  80 */ {"THREADING", nullptr},
    /*  81 */ {"CDDEPTH", CDDepthCom},
    /*  82 */ {"PECKDRILL", nullptr},
    /*  83 */ {"CLIENT", nullptr},
    /*  84 */ {"FONT", nullptr},
    /*  85 */ {"CNC", nullptr},
    /*  86 */ {"OPERATOR", nullptr},
    /*  87 */ {"COMPANY", nullptr},
    /*  88 */ {"COMPANY_LOGO", nullptr},
    /*  89 */ {"COMPANY_IMG", nullptr},
    /*  90 */ {"TOOLHOLDER", nullptr},
    /*  91 */ {"OPTIMISE", nullptr},
    /*  92 */ {"LABELING", nullptr},
    /*  93 */ {"TMEFF", nullptr},
    /*  94 */ {"TRANSFER", nullptr},
    /*  95 */ {"VIEW", nullptr},
    /*  96 */ {"UCOORDS", nullptr},
    /*  97 */ {"BACKGROUND", nullptr},
    /*  98 */ {"SNAPSETTINGS", nullptr},
    /*  99 */ {"MPARAM_X", nullptr},
    /* 100 */ {"MPARAM_F", nullptr},
    /* 101 */ {"MPARAM_D", nullptr},
    /* 102 */ {"MPARAM_TC", nullptr},
    /* 103 */ {"MPARAM_TM", nullptr},
    /* 104 */ {"DEFINE", DefineCom},
    /* 105 */ {"NCHRARCSEG", nullptr},
    /* 106 */ {"CHRARCSEGCOR", nullptr},
    /* 107 */ {"MOVE", nullptr},
    /* 108 */ {"SELECT", nullptr},
    /* 109 */ {"UNSELECT", nullptr},
    /* 110 */ {"TURN", nullptr},
    /* 111 */ {"SCALE", nullptr},
    /* 112 */ {"MIRRORX", nullptr},
    /* 113 */ {"MIRRORY", nullptr},
    /* 114 */ {"DELETE", nullptr},
    /* 115 */ {"MSG", MessageCom},
    /* 116 */ {"UNDO", nullptr},
    /* 117 */ {"REDO", nullptr},
    /* 118 */ {"CON_TOLERANCE", nullptr},
    /* 119 */ {"REVERSE", nullptr},
    /* 120 */ {"FOPI", nullptr},
    /* 121 */ {"DEFCLAGROUP", nullptr},
    /* 122 */ {"DELCLAGROUP", nullptr},
    /* 123 */ {"ADDCLAGROUP", nullptr},
    /* 124 */ {"REMCLAGROUP", nullptr},
    /* 125 */ {"EXCESSMR", nullptr},
    /* 126 */ {"USERUNIT", UserUnitCom},
    /* 127 */ {"PROJECTUNIT", ProjectUnitCom},
    /* 128 */ {"ENDOFFILE", EndOfFileCom},
    /* 129 */ {"MULTI_G_LINES", nullptr},
    /* 130 */ {"NUM_C_LINES", nullptr},
    /* 131 */ {"DEFTOOL", nullptr},
    /* 132 */ {"DEFTOOLMAT", nullptr},
    /* 133 */ {"DEFMAT", nullptr},}};

} // namespace

std::string_view KeywordName(int code) {
    return code >= 0 && code < kKeywordCount ? kKeywords[code].name : std::string_view();
}

CommandHandler KeywordHandler(int code) {
    return code >= 0 && code < kKeywordCount ? kKeywords[code].handler : nullptr;
}

int recogn(std::string_view word) {
    if (!word.empty() && word[0] == '$') {
        // The code form: the digits after '$' (none is code 0); what follows them is ignored.
        std::string digits(word.substr(1));
        errno = 0;
        long code = std::strtol(digits.c_str(), nullptr, 10);
        if (errno == ERANGE || code > INT_MAX || code < INT_MIN)
            return kNoKeyword;
        return static_cast<int>(code);
    }
    std::string upper = Upper(word);
    if (upper.empty())
        return kNoKeyword;
    for (int code = 0; code < kKeywordCount; ++code)
        if (kKeywords[code].name == upper)
            return code;
    int found = kNoKeyword;
    int matches = 0;
    for (int code = 0; code < kKeywordCount; ++code) {
        if (kKeywords[code].name.starts_with(upper)) {
            found = code;
            ++matches;
        }
    }
    return matches > 1 ? kAmbiguousKeyword : found;
}

} // namespace korvel
