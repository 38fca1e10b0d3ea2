// The keyword table: names in code order and the handler of each command.
// To give a keyword its handler, name the function in its row.
#include "script/keywords.h"

#include <array>
#include <cerrno>
#include <climits>
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

struct Keyword {
    std::string_view name;
    CommandHandler handler;
};

constexpr std::array<Keyword, kKeywordCount> kKeywords = {{
    /*   0 */ {"INCLUDE", IncludeCom},
    /*   1 */ {"PROGRAM", ProgramCom},
    /*   2 */ {"GCFILE", GCFileCom},
    /*   3 */ {"BLOCK", BlockCom},
    /*   4 */ {"MATERIAL", MaterialCom},
    /*   5 */ {"COORDINATES", CoordsCom},
    /*   6 */ {"LIBRARY", LibCom},
    /*   7 */ {"MILLTYPE", nullptr},
    /*   8 */ {"TABLE", TableCom},
    /*   9 */ {"HTSLOTS", TableSlotsHCom},
    /*  10 */ {"VTSLOTS", TableSlotsVCom},
    /*  11 */ {"ATTTOOL", AttToolCom},
    /*  12 */ {"PART", PartCom},
    /*  13 */ {"PROJECT", ProjectCom},
    /*  14 */ {"DESCRIPTION", DescrCom},
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
    /*  30 */ {"POSTPROC", PostProcCom},
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
    /*  45 */ {"USER", UserCom},
    /*  46 */ {"HTMLVIEW", BrowserCom},
    /*  47 */ {"HELP", HelpCom},
    /*  48 */ {"EDIT", EditorCom},
    /*  49 */ {"CONFIG", ConfigCom},
    /*  50 */ {"TOOLCHANGE", ToolChangeCom},
    /*  51 */ {"CHARACTER", CharCom},
    /*  52 */ {"JUMPTO", JumpToCom},
    /*  53 */ {"ENG_TEXT", EngTextCom},
    /*  54 */ {"INFO_TEXT", InfoTextCom},
    /*  55 */ {"TEXTSIZE", TextSizeCom},
    /*  56 */ {"DWGEDITOR", DWGEditorCom},
    /*  57 */ {"DWGFILE", DWGFileCom},
    /*  58 */ {"NOOFPARTS", NoOfPartsCom},
    /*  59 */ {"ENG_CLA", EngCLACom},
    /*  60 */ {"INFO_CLA", InfoCLACom},
    /*  61 */ {"QUALITY", FinishQuality},
    /*  62 */ {"PROGSTART", ProgStartCom},
    /*  63 */ {"PROGEND", ProgEndCom},
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
    /*  79 */ {"THREADTYPE", ThreadTypeCom},
    /*  80 */ {"THREADING", ThreadingCom},
    /*  81 */ {"CDDEPTH", CDDepthCom},
    /*  82 */ {"PECKDRILL", PeckDrillCom},
    /*  83 */ {"CLIENT", ClientCom},
    /*  84 */ {"FONT", FontCom},
    /*  85 */ {"CNC", CncCom},
    /*  86 */ {"OPERATOR", OperatorCom},
    /*  87 */ {"COMPANY", CNameCom},
    /*  88 */ {"COMPANY_LOGO", CLogoCom},
    /*  89 */ {"COMPANY_IMG", CImgCom},
    /*  90 */ {"TOOLHOLDER", ToolholderCom},
    /*  91 */ {"OPTIMISE", OptimiseCom},
    /*  92 */ {"LABELING", LabelingCom},
    /*  93 */ {"TMEFF", TMEFFCom},
    /*  94 */ {"TRANSFER", TransferProgCom},
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
    /* 115 */ {"MSG", MessageCom},
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
    /* 131 */ {"DEFTOOL", DefineToolCom},
    /* 132 */ {"DEFTOOLMAT", DefineToolMatCom},
    /* 133 */ {"DEFMAT", DefineMaterialCom},
}};

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
