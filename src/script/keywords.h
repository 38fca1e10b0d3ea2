// Keyword codes of the script language. A code is a keyword's position in the keyword table;
// files write a command as '$' and its code, so these values are a file format and never
// change. Codes 34, 35, 64 and 65 have no keyword.
#pragma once

#include <string_view>

namespace korvel {

constexpr int kKeywordCount = 134;

enum KeywordCode : int {
    kInclude = 0,
    kProgram = 1,
    kGcfile = 2,
    kBlock = 3,
    kMaterial = 4,
    kCoordinates = 5,
    kLibrary = 6,
    kMilltype = 7,
    kTable = 8,
    kHtslots = 9,
    kVtslots = 10,
    kAtttool = 11,
    kPart = 12,
    kProject = 13,
    kDescription = 14,
    kRbulge = 15,
    kBulge = 16,
    kEnd = 17,
    kCbulge = 18,
    kPolygon = 19,
    kRpocket = 20,
    kComments = 21,
    kDrill = 22,
    kThread = 23,
    kBore = 24,
    kBase = 25,
    kLonghole = 26,
    kPocket = 27,
    kTopface = 28,
    kCorridor = 29,
    kPostproc = 30,
    kLineto = 31,
    kCcwto = 32,
    kCwto = 33,
    kCleandrills = 36,
    kUse = 37,
    kFixture = 38,
    kDelay = 39,
    kObjectid = 40,
    kCenterdrilling = 41,
    kBoring = 42,
    kConturing = 43,
    kWorkspace = 44,
    kUser = 45,
    kHtmlview = 46,
    kHelp = 47,
    kEdit = 48,
    kConfig = 49,
    kToolchange = 50,
    kCharacter = 51,
    kJumpto = 52,
    kEngText = 53,
    kInfoText = 54,
    kTextsize = 55,
    kDwgeditor = 56,
    kDwgfile = 57,
    kNoofparts = 58,
    kEngCla = 59,
    kInfoCla = 60,
    kQuality = 61,
    kProgstart = 62,
    kProgend = 63,
    kVer = 66,
    kRplane = 67,
    kQplane = 68,
    kOverlap = 69,
    kRfoverlap = 70,
    kFfoverlap = 71,
    kFfdz = 72,
    kFfdxy = 73,
    kRfdz = 74,
    kRfsor = 75,
    kRffor = 76,
    kMinbtxd = 77,
    kDftlex = 78,
    kThreadtype = 79,
    kThreading = 80,
    kCddepth = 81,
    kPeckdrill = 82,
    kClient = 83,
    kFont = 84,
    kCnc = 85,
    kOperator = 86,
    kCompany = 87,
    kCompanyLogo = 88,
    kCompanyImg = 89,
    kToolholder = 90,
    kOptimise = 91,
    kLabeling = 92,
    kTmeff = 93,
    kTransfer = 94,
    kView = 95,
    kUcoords = 96,
    kBackground = 97,
    kSnapsettings = 98,
    kMparamX = 99,
    kMparamF = 100,
    kMparamD = 101,
    kMparamTc = 102,
    kMparamTm = 103,
    kDefine = 104,
    kNchrarcseg = 105,
    kChrarcsegcor = 106,
    kMove = 107,
    kSelect = 108,
    kUnselect = 109,
    kTurn = 110,
    kScale = 111,
    kMirrorx = 112,
    kMirrory = 113,
    kDelete = 114,
    kMsg = 115,
    kUndo = 116,
    kRedo = 117,
    kConTolerance = 118,
    kReverse = 119,
    kFopi = 120,
    kDefclagroup = 121,
    kDelclagroup = 122,
    kAddclagroup = 123,
    kRemclagroup = 124,
    kExcessmr = 125,
    kUserunit = 126,
    kProjectunit = 127,
    kEndoffile = 128,
    kMultiGLines = 129,
    kNumCLines = 130,
    kDeftool = 131,
    kDeftoolmat = 132,
    kDefmat = 133,
};

// Returned by recogn for a word that matches no keyword, and for an ambiguous abbreviation.
constexpr int kNoKeyword = -1;
constexpr int kAmbiguousKeyword = 9999;

// The command handler of a keyword: reads its arguments from the argument vector, returns 1
// when the line is accepted and 0 when it was rejected (the message has been shown). file is
// nullptr for typed and replayed commands, and line is then 0.
using CommandHandler = int (*)(const char* file, int line);

// The keyword of a code ("" for 34, 35, 64, 65 and for codes outside 0..133).
std::string_view KeywordName(int code);
// The handler of a code; nullptr where the system has none (the line is unrecognized).
CommandHandler KeywordHandler(int code);

// Recognises a keyword: '$' and a decimal code, the keyword itself, or an abbreviation that
// begins exactly one keyword. Returns the code, kNoKeyword, or kAmbiguousKeyword.
int recogn(std::string_view word);

} // namespace korvel
