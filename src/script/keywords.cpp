// The keyword table: names in code order and the handler of each command.
// To give a keyword its handler, name the function in its row.
#include "script/keywords.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/bore.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/contour.h"
#include "model/drill.h"
#include "model/fixture.h"
#include "model/font.h"
#include "model/longhole.h"
#include "model/machine.h"
#include "model/mparam.h"
#include "model/pocket.h"
#include "model/settings.h"
#include "model/texts.h"
#include "model/thread.h"
#include "model/thread_type.h"
#include "script/config.h"
#include "script/core_commands.h"
#include "script/db_files.h"
#include "script/interpreter.h"
#include "script/object_commands.h"
#include "script/undo.h"

namespace korvel {

namespace {

// Which arguments a command takes as text (names, file names, free words) rather than as
// numbers: bit i for argument i.
using TextArgs = std::uint32_t;
constexpr TextArgs Text(int arg) { return 1u << arg; }
constexpr TextArgs kAllText = ~1u;      // every argument after the keyword
constexpr TextArgs kLastText = 1u << 0; // the last argument, wherever it stands

struct Keyword {
    std::string_view name;
    CommandHandler handler;
    TextArgs text = 0;
};

constexpr std::array<Keyword, kKeywordCount> kKeywords = {{
    /*   0 */ {"INCLUDE", IncludeCom, Text(1)},
    /*   1 */ {"PROGRAM", ProgramCom},
    /*   2 */ {"GCFILE", GCFileCom, Text(1)},
    /*   3 */ {"BLOCK", BlockCom, Text(13)},
    /*   4 */ {"MATERIAL", MaterialCom, Text(1)},
    /*   5 */ {"COORDINATES", CoordsCom},
    /*   6 */ {"LIBRARY", LibCom, Text(1) | Text(2)},
    /*   7 */ {"MILLTYPE", nullptr},
    /*   8 */ {"TABLE", TableCom},
    /*   9 */ {"HTSLOTS", TableSlotsHCom},
    /*  10 */ {"VTSLOTS", TableSlotsVCom},
    /*  11 */ {"ATTTOOL", AttToolCom, Text(2)},
    /*  12 */ {"PART", PartCom, kAllText},
    /*  13 */ {"PROJECT", ProjectCom, kAllText},
    /*  14 */ {"DESCRIPTION", DescrCom, kAllText},
    /*  15 */ {"RBULGE", LRectCom},
    /*  16 */ {"BULGE", BulgeCom},
    /*  17 */ {"END", EndCom},
    /*  18 */ {"CBULGE", CylinderCom},
    /*  19 */ {"POLYGON", PolygonCom},
    /*  20 */ {"RPOCKET", PRectCom},
    /*  21 */ {"COMMENTS", CommentsCom},
    /*  22 */ {"DRILL", DrillCom},
    /*  23 */ {"THREAD", ThreadCom},
    /*  24 */ {"BORE", BoreCom},
    /*  25 */ {"BASE", BaseCom},
    /*  26 */ {"LONGHOLE", LongHoleCom},
    /*  27 */ {"POCKET", PocketCom},
    /*  28 */ {"TOPFACE", TopCom},
    /*  29 */ {"CORRIDOR", CorridorCom},
    /*  30 */ {"POSTPROC", PostProcCom, Text(1)},
    /*  31 */ {"LINETO", LineCom},
    /*  32 */ {"CCWTO", CcwToCom},
    /*  33 */ {"CWTO", CwToCom},
    /*  34 */ {"", nullptr}, // no keyword
    /*  35 */ {"", nullptr}, // no keyword
    /*  36 */ {"CLEANDRILLS", CleanDrillsCom},
    /*  37 */ {"USE", UseCom},
    /*  38 */ {"FIXTURE", FixtureCom},
    /*  39 */ {"DELAY", DelayCom},
    /*  40 */ {"OBJECTID", nullptr},
    /*  41 */ {"CENTERDRILLING", SpotDrillingCom},
    /*  42 */ {"BORING", BoringCom},
    /*  43 */ {"CONTURING", ConturingCom},
    /*  44 */ {"WORKSPACE", WorkSpaceCom},
    /*  45 */ {"USER", UserCom, kAllText},
    /*  46 */ {"HTMLVIEW", BrowserCom, Text(1)},
    /*  47 */ {"HELP", HelpCom, Text(1) | Text(2)},
    /*  48 */ {"EDIT", EditorCom, Text(1)},
    /*  49 */ {"CONFIG", ConfigCom},
    /*  50 */ {"TOOLCHANGE", ToolChangeCom},
    /*  51 */ {"CHARACTER", CharCom, Text(1)},
    /*  52 */ {"JUMPTO", JumpToCom},
    /*  53 */ {"ENG_TEXT", EngTextCom, Text(3)},
    /*  54 */ {"INFO_TEXT", InfoTextCom, Text(3)},
    /*  55 */ {"TEXTSIZE", TextSizeCom},
    /*  56 */ {"DWGEDITOR", DWGEditorCom, Text(1)},
    /*  57 */ {"DWGFILE", DWGFileCom, Text(1)},
    /*  58 */ {"NOOFPARTS", NoOfPartsCom},
    /*  59 */ {"ENG_CLA", EngCLACom},
    /*  60 */ {"INFO_CLA", InfoCLACom, kLastText}, // the group's name: "INFO" is no number
    /*  61 */ {"QUALITY", FinishQuality},
    /*  62 */ {"PROGSTART", ProgStartCom, kAllText},
    /*  63 */ {"PROGEND", ProgEndCom, kAllText},
    /*  64 */ {"", nullptr}, // no keyword
    /*  65 */ {"", nullptr}, // no keyword
    /*  66 */ {"VER", VerCom},
    /*  67 */ {"RPLANE", RPlaneCom},
    /*  68 */ {"QPLANE", QPlaneCom},
    /*  69 */ {"OVERLAP", OverlapCom},
    /*  70 */ {"RFOVERLAP", RFOverlapCom},
    /*  71 */ {"FFOVERLAP", FFOverlapCom},
    /*  72 */ {"FFDZ", FineFinishDzCom},
    /*  73 */ {"FFDXY", FineFinishDxyCom},
    /*  74 */ {"RFDZ", RoughFinishDzCom},
    /*  75 */ {"RFSOR", SpeedOverRideCom},
    /*  76 */ {"RFFOR", FeedOverRideCom},
    /*  77 */ {"MINBTXD", MinBoreDiaCom},
    /*  78 */ {"DFTLEX", DrillsForTapsLenExtCom},
    /*  79 */ {"THREADTYPE", ThreadTypeCom, Text(1)},
    /*  80 */ {"THREADING", ThreadingCom},
    /*  81 */ {"CDDEPTH", CDDepthCom},
    /*  82 */ {"PECKDRILL", PeckDrillCom},
    /*  83 */ {"CLIENT", ClientCom, kAllText},
    /*  84 */ {"FONT", FontCom, Text(1)},
    /*  85 */ {"CNC", CncCom, Text(1) | Text(2)},
    /*  86 */ {"OPERATOR", OperatorCom, kAllText},
    /*  87 */ {"COMPANY", CNameCom, kAllText},
    /*  88 */ {"COMPANY_LOGO", CLogoCom, kAllText},
    /*  89 */ {"COMPANY_IMG", CImgCom, Text(1)},
    /*  90 */ {"TOOLHOLDER", ToolholderCom},
    /*  91 */ {"OPTIMISE", OptimiseCom},
    /*  92 */ {"LABELING", LabelingCom},
    /*  93 */ {"TMEFF", TMEFFCom},
    /*  94 */ {"TRANSFER", TransferProgCom, kAllText},
    /*  95 */ {"VIEW", ViewCom},
    /*  96 */ {"UCOORDS", UCoordsCom},
    /*  97 */ {"BACKGROUND", BackGroundCom},
    /*  98 */ {"SNAPSETTINGS", OSnapCom},
    /*  99 */ {"MPARAM_X", ParamXCom},
    /* 100 */ {"MPARAM_F", ParamFCom},
    /* 101 */ {"MPARAM_D", ParamDCom},
    /* 102 */ {"MPARAM_TC", ParamTCCom},
    /* 103 */ {"MPARAM_TM", ParamTMCom},
    /* 104 */ {"DEFINE", DefineCom},
    /* 105 */ {"NCHRARCSEG", NominalCharArcSegmentCom},
    /* 106 */ {"CHRARCSEGCOR", CharArcSegCorCom},
    /* 107 */ {"MOVE", MoveCom},
    /* 108 */ {"SELECT", SelectCom},
    /* 109 */ {"UNSELECT", UnSelectCom},
    /* 110 */ {"TURN", TurnCom},
    /* 111 */ {"SCALE", ScaleCom},
    /* 112 */ {"MIRRORX", MirrorXCom},
    /* 113 */ {"MIRRORY", MirrorYCom},
    /* 114 */ {"DELETE", DeleteCom},
    /* 115 */ {"MSG", MessageCom, kAllText},
    /* 116 */ {"UNDO", UndoCom},
    /* 117 */ {"REDO", RedoCom},
    /* 118 */ {"CON_TOLERANCE", ConTolCom},
    /* 119 */ {"REVERSE", ReverseSelectionCom},
    /* 120 */ {"FOPI", FilterOutPathIntersectionsCom},
    /* 121 */ {"DEFCLAGROUP", nullptr},
    /* 122 */ {"DELCLAGROUP", nullptr},
    /* 123 */ {"ADDCLAGROUP", nullptr},
    /* 124 */ {"REMCLAGROUP", nullptr},
    /* 125 */ {"EXCESSMR", ExcessMaterialRemovalCom},
    /* 126 */ {"USERUNIT", UserUnitCom},
    /* 127 */ {"PROJECTUNIT", ProjectUnitCom},
    /* 128 */ {"ENDOFFILE", EndOfFileCom},
    /* 129 */ {"MULTI_G_LINES", MultipleGCodeLinesCom},
    /* 130 */ {"NUM_C_LINES", NumberCommentLinesCom},
    /* 131 */ {"DEFTOOL", DefineToolCom, Text(1) | Text(8)},
    /* 132 */ {"DEFTOOLMAT", DefineToolMatCom, Text(1)},
    /* 133 */ {"DEFMAT", DefineMaterialCom, Text(1)},
}};

// The length of the longest keyword.
constexpr std::size_t kLongestKeyword = [] {
    std::size_t n = 0;
    for (const Keyword& k : kKeywords)
        n = std::max(n, k.name.size());
    return n;
}();

// The codes of the keywords that have a name, sorted by name (equal names keep code order).
struct KeywordIndex {
    std::array<int, kKeywordCount> codes{};
    int count = 0;
};

const KeywordIndex& KeywordsByName() {
    static const KeywordIndex index = [] {
        KeywordIndex ix;
        for (int code = 0; code < kKeywordCount; ++code)
            if (!kKeywords[code].name.empty())
                ix.codes[ix.count++] = code;
        std::stable_sort(ix.codes.begin(), ix.codes.begin() + ix.count,
                         [](int a, int b) { return kKeywords[a].name < kKeywords[b].name; });
        return ix;
    }();
    return index;
}

} // namespace

std::string_view KeywordName(int code) {
    return code >= 0 && code < kKeywordCount ? kKeywords[code].name : std::string_view();
}

CommandHandler KeywordHandler(int code) {
    return code >= 0 && code < kKeywordCount ? kKeywords[code].handler : nullptr;
}

bool IsTextArgument(int code, int arg, int count) {
    if (code < 0 || code >= kKeywordCount || arg < 1 || arg >= 32)
        return false;
    TextArgs text = kKeywords[code].text;
    return (text >> arg & 1u) != 0 || ((text & kLastText) != 0 && arg == count - 1);
}

int recogn(std::string_view word) {
    if (!word.empty() && word[0] == '$') {
        // The code form: the digits after '$' (none is code 0); what follows them is ignored.
        // Every line a project holds has this form: plain digits are read here directly.
        std::size_t n = 1;
        int value = 0;
        while (n < word.size() && n <= 9 && word[n] >= '0' && word[n] <= '9')
            value = value * 10 + (word[n++] - '0');
        if (n > 1 && (n == word.size() || word[n] < '0' || word[n] > '9'))
            return value;
        std::string digits(word.substr(1));
        errno = 0;
        long code = std::strtol(digits.c_str(), nullptr, 10);
        if (errno == ERANGE || code > INT_MAX || code < INT_MIN)
            return kNoKeyword;
        return static_cast<int>(code);
    }
    // No keyword equals or begins with a word longer than the longest keyword.
    if (word.empty() || word.size() > kLongestKeyword)
        return kNoKeyword;
    char buffer[kLongestKeyword];
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        buffer[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    std::string_view upper(buffer, word.size());
    // The keywords that begin with the word are neighbours in name order; an exact match is the
    // first of them.
    const KeywordIndex& index = KeywordsByName();
    auto name_of = [](int code) { return kKeywords[code].name; };
    const int* first =
        std::lower_bound(index.codes.begin(), index.codes.begin() + index.count, upper,
                         [&](int code, std::string_view w) { return name_of(code) < w; });
    const int* last = first;
    const int* end = index.codes.begin() + index.count;
    while (last != end && name_of(*last).starts_with(upper))
        ++last;
    if (first == last)
        return kNoKeyword;
    if (name_of(*first) == upper || last - first == 1)
        return *first;
    return kAmbiguousKeyword;
}

} // namespace korvel
