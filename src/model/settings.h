// The system's settings: machining defaults, G-code dialect, report texts, external programs.
// Each is set by its script command; korvel.cfg sets them at start-up and a project file
// carries its own. Lengths are in the user unit; percentages are stored as fractions.
#pragma once

#include <string>

namespace korvel {

// Texts are kept short enough that their line in the project file ("$NN " and the text, or a
// quoted name) stays within the 254 characters of a script line.
constexpr std::size_t kMaxSettingText = 250;
constexpr std::size_t kMaxFileNameText = 248;
constexpr std::size_t kMaxOperatorText = 79;

// Tool kinds of BORING and CONTURING: a choice is fallback * 10 + first choice.
constexpr int kChooseFaceMill = 7;
constexpr int kChooseSideOrEndMill = 5;
// THREADING: the tool type that makes threads by default.
constexpr int kThreadByTap = 3;
constexpr int kThreadByMill = 4;

struct Settings {
    double rplane = 5.0;     // RPLANE: fast approach height above the block
    double qplane = 5.0;     // QPLANE: milling extension outside the block
    double overlap = 0.95;   // OVERLAP 5 %: step-over factor (100 - p) / 100
    double rf_overlap = 0.8; // RFOVERLAP 20 %
    double ff_overlap = 0.8; // FFOVERLAP 20 %
    double rfdz = 0.1;       // RFDZ: Z step of rough finishing
    double ffdz = 0.1;       // FFDZ: Z step of fine finishing
    double ffdxy = 0.1;      // FFDXY: XY step of fine finishing
    double rfsor = 1.0;      // RFSOR: speed override of rough finishing
    double rffor = 1.0;      // RFFOR: feed override of rough finishing
    int quality = 3;         // QUALITY 0..5
    double minbtxd = 1.5;    // MINBTXD: hole/face-mill diameter ratio for boring
    double dftlex = 1.0;     // DFTLEX: pre-drill extension for threads
    double tmeff = 0.2;      // TMEFF 20 %: feed factor of thread-milling arcs
    int center_drilling = 1; // CENTERDRILLING flag and depth
    double cd_depth = 3.0;
    int peck_drill = 0; // PECKDRILL flag and peck (fraction of the drill diameter)
    double peck = 1.0;
    int clean_drills = 0; // CLEANDRILLS flag, speed (fraction), ms, repeats, distance
    double clean_speed = 1.5;
    int clean_duration = 300;
    int clean_repeat = 1;
    double clean_distance = 25.0;
    int threading = kThreadByTap; // THREADING
    int boring = 57;              // BORING
    int conturing = 57;           // CONTURING
    int use_g81 = 0;              // USE flags
    int use_g44 = 0;
    int use_g00_before_tool_comp = 0;
    int use_r_in_g02_g03 = 0;
    int use_newfilter = 1;
    int optimise = 0;            // OPTIMISE
    int excessmr = 1;            // EXCESSMR
    int alt_path_filter = 1;     // contour loops cut out; cleared by FOPI
    int multi_g_lines = 1;       // MULTI_G_LINES
    int num_c_lines = 0;         // NUM_C_LINES
    int comments = 0;            // COMMENTS: 0 none, 1 comments, 2 debugging comments
    int labeling = -1;           // LABELING: line-number counter, -1 numbering off
    int toolholder = 20;         // TOOLHOLDER places 1..99
    int delay = 100;             // DELAY ms between lines of a simulation run
    double con_tolerance = 0.01; // CON_TOLERANCE
    double nchrarcseg = 6.0;     // NCHRARCSEG degrees
    int chrarcsegcor = 1;        // CHRARCSEGCOR
    double textsize = 10.0;      // TEXTSIZE
    int snapsettings = 125;      // SNAPSETTINGS bits
    int background_white = 0;    // BACKGROUND
    int view_mode = 0;           // VIEW: 0 top, 1 isometric SW, 2 axonometric, 3 isometric SE
    double view_scale = 1.0;
    double view_x = 0, view_y = 0;
    int view_bits = 124; // 0 table, 1 machine origin, 2 axes, 3 block, 4 limits, 5 fixtures,
                         // 6 free drawing
    int view_given = 0;  // a project's VIEW line was read
    int program = 1;     // PROGRAM number (O word)
    std::string gcfile = "noname.cnc"; // GCFILE
    std::string dwgfile;               // DWGFILE
    int noofparts = 1;                 // NOOFPARTS
    std::string part, project, description, client, user, company, company_logo;
    std::string operator_name; // OPERATOR
    std::string company_img;   // COMPANY_IMG
    std::string progstart, progend;
    std::string edit = "xdg-open";     // EDIT
    std::string htmlview = "xdg-open"; // HTMLVIEW
    std::string help_program;          // HELP; empty: the HTML viewer
    std::string help_document;
    std::string dwgeditor;           // DWGEDITOR
    std::string postproc = "kvpost"; // POSTPROC
    std::string transfer;            // TRANSFER
    std::string machine_name;        // current machine (CNC)
    std::string project_file = "noname.kvp";
    std::string output_file = "noname.cnc"; // where Make writes the G-code
};

const Settings& GetSettings();
// For the dialogs and the project life cycle; commands check their values, this does not.
Settings& MutableSettings();

// All settings to their built-in defaults.
void ResetSettings();
// Project texts and file names to empty (a new or opened project).
void ClearProjectTexts();
// The configuration snapshot: taken after korvel.cfg, restored for a new project.
void StoreCfgValues();
void LoadCfgValues();

int RPlaneCom(const char* file, int line);
int QPlaneCom(const char* file, int line);
int OverlapCom(const char* file, int line);
int RFOverlapCom(const char* file, int line);
int FFOverlapCom(const char* file, int line);
int RoughFinishDzCom(const char* file, int line);
int FineFinishDzCom(const char* file, int line);
int FineFinishDxyCom(const char* file, int line);
int SpeedOverRideCom(const char* file, int line);
int FeedOverRideCom(const char* file, int line);
int FinishQuality(const char* file, int line);
int MinBoreDiaCom(const char* file, int line);
int DrillsForTapsLenExtCom(const char* file, int line);
int TMEFFCom(const char* file, int line);
int SpotDrillingCom(const char* file, int line);
int PeckDrillCom(const char* file, int line);
int CleanDrillsCom(const char* file, int line);
int ThreadingCom(const char* file, int line);
int BoringCom(const char* file, int line);
int ConturingCom(const char* file, int line);
int UseCom(const char* file, int line);
int OptimiseCom(const char* file, int line);
int ExcessMaterialRemovalCom(const char* file, int line);
int FilterOutPathIntersectionsCom(const char* file, int line);
int MultipleGCodeLinesCom(const char* file, int line);
int NumberCommentLinesCom(const char* file, int line);
int CommentsCom(const char* file, int line);
int LabelingCom(const char* file, int line);
int ToolholderCom(const char* file, int line);
int DelayCom(const char* file, int line);
int ConTolCom(const char* file, int line);
int NominalCharArcSegmentCom(const char* file, int line);
int CharArcSegCorCom(const char* file, int line);
int TextSizeCom(const char* file, int line);
int OSnapCom(const char* file, int line);
int BackGroundCom(const char* file, int line);
int ViewCom(const char* file, int line);
int ProgramCom(const char* file, int line);
int GCFileCom(const char* file, int line);
int DWGFileCom(const char* file, int line);
int NoOfPartsCom(const char* file, int line);
int PartCom(const char* file, int line);
int ProjectCom(const char* file, int line);
int DescrCom(const char* file, int line);
int ClientCom(const char* file, int line);
int UserCom(const char* file, int line);
int CNameCom(const char* file, int line);
int CLogoCom(const char* file, int line);
int OperatorCom(const char* file, int line);
int CImgCom(const char* file, int line);
int ProgStartCom(const char* file, int line);
int ProgEndCom(const char* file, int line);
int EditorCom(const char* file, int line);
int BrowserCom(const char* file, int line);
int HelpCom(const char* file, int line);
int DWGEditorCom(const char* file, int line);
int PostProcCom(const char* file, int line);
int TransferProgCom(const char* file, int line);

} // namespace korvel
