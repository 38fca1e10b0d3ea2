// Texts: engraving texts, engraved into the surface of their parent with the stroke font, and
// drawing notes, drawn but never machined. Both share one table.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxTexts = 128;
// Up to 117 characters: with eight numbers beside it, the line of an engraving text then still
// fits the 254 characters of a script line.
constexpr std::size_t kMaxTextLength = 117;

// Where the reference point lies on the base line.
enum TextAlignment : int { kAlignLeft = 0, kAlignRight = 1, kAlignCentre = 2 };

struct Text {
    int id = 0; // type 53 engraving text, 54 drawing note
    int pid = 0;
    std::string text;
    double x = 0, y = 0;  // reference point on the base line
    double z = 0;         // surface of the parent (computed)
    double eng_width = 0; // width of the engraved stroke; 0 for a note
    double eng_depth = 0;
    double height = 0;  // character height
    double angle = 0;   // of the base line, degrees counter-clockwise from +X
    double spacing = 1; // factor on the advance between characters
    double scale = 1;   // factor on the width of every character
    int align = kAlignLeft;
    int reserved = -1;
    int note = 0; // 1 for a drawing note
    int valid = 0;
    int selected = 0;
};

void InitText(int index); // kAllSlots: every slot
int GetText(Text& text, int index);
void PutText(const Text& text, int index);
int NextText();
int GetTextId(int index);
int GetTextPid(int index); // -1 for notes, which have no parent
int Text_selected(int index);
void SetText_z(int index, double z);
int SelectText(int index, int marks);
int UnSelectText(int index, int marks);

// The engraving width and depth the last ENG_TEXT or ENG_CLA line set, offered for the next
// engraving.
void SetDefaultEngraving(double width, double depth);
double DefaultEngravingWidth();
double DefaultEngravingDepth();

// Length of the text along its base line, and the character height.
double TextWx(int index);
double TextWy(int index);
// The first text whose box holds the point; notes only when the drawing is shown. -1 if none.
int ClickText(double px, double py);

// Writers: the engraving text line (empty for a free slot or a note; returns 1), the note line
// (returns 0 unless the slot holds a note).
int StrEngTextData(std::string& line, int index);
int StrInfoTextData(std::string& line, int index);

void MoveTextBy(int index, double dx, double dy);
void TurnText(int index, double cx, double cy, double angle_deg);
void ScaleTextBy(int index, double cx, double cy, double f);
int CopyTextTo(int index, double dx, double dy);

int EngTextCom(const char* file, int line);  // ENG_TEXT
int InfoTextCom(const char* file, int line); // INFO_TEXT

} // namespace korvel
