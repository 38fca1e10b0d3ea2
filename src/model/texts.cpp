// The text table: engraving texts and drawing notes.
#include "model/texts.h"

#include <array>
#include <cassert>
#include <cmath>

#include "base/clearable_table.h"
#include "base/errors.h"
#include "base/keyword_codes.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "geometry/primitives.h"
#include "model/bulge.h"
#include "model/font.h"
#include "model/object_edit.h"
#include "model/registry.h"
#include "model/selection.h"
#include "model/settings.h"

namespace korvel {

namespace {

ClearableTable<Text, kMaxTexts> g_texts;
double g_default_width = 0;
double g_default_depth = 0;

constexpr int kViewDrawingBit = 64; // VIEW visibility bit of the free drawing

Text* Valid(int index) {
    return index >= 0 && index < kMaxTexts && g_texts[index].valid ? &g_texts[index] : nullptr;
}

// The text argument with its quotes removed. A double quote inside a text could not be
// written back between quotes, so such a text is refused.
bool TextArg(int arg, std::string& text) {
    text = Arg(arg);
    RemQuotes(text);
    if (text.find('"') != std::string::npos)
        return false;
    if (text.size() > kMaxTextLength)
        text.resize(kMaxTextLength);
    return true;
}

int StoreText(Text t, int type, const char* file, int line) {
    UpsertSlot where = FindUpsertSlot(t.id, type, "Texts", NextText, file, line);
    if (where.slot < 0)
        return 0;
    if (where.existing) {
        if (!UndoSuspended()) { // the line would be dropped: opening a project builds none
            ExactFloats exact;
            std::string previous;
            if (type == kTypeEngText)
                StrEngTextData(previous, where.slot);
            else
                StrInfoTextData(previous, where.slot);
            PushUndoCom(previous);
        }
    } else {
        RegisterNewObject(t.id, type, where.slot);
    }
    t.valid = 1;
    t.selected = 0;
    g_texts[where.slot] = t;
    return 1;
}

} // namespace

void InitText(int index) {
    if (index == kAllSlots) {
        g_texts.Clear();
        g_default_width = g_default_depth = 0;
    } else if (index >= 0 && index < kMaxTexts) {
        g_texts[index] = Text();
    }
}

int GetText(Text& text, int index) {
    if (index < 0 || index >= kMaxTexts)
        return 0;
    text = g_texts[index];
    return text.valid;
}

void PutText(const Text& text, int index) {
    assert(index >= 0 && index < kMaxTexts && "PutText outside the table");
    if (index >= 0 && index < kMaxTexts)
        g_texts[index] = text;
}

int NextText() {
    for (int i = 0; i < kMaxTexts; ++i)
        if (!g_texts[i].valid)
            return i;
    return -1;
}

int GetTextId(int index) { return Valid(index) ? g_texts[index].id : -1; }
int GetTextPid(int index) {
    const Text* t = Valid(index);
    return t && !t->note ? t->pid : -1;
}
int Text_selected(int index) { return Valid(index) ? g_texts[index].selected : 0; }

void SetText_z(int index, double z) {
    if (Text* t = Valid(index))
        t->z = z;
}

int SelectText(int index, int marks) {
    Text* t = Valid(index);
    return t ? AddMarks(t->selected, marks) : 0;
}

int UnSelectText(int index, int marks) {
    Text* t = Valid(index);
    return t ? RemoveMarks(t->selected, marks) : 0;
}

void SetDefaultEngraving(double width, double depth) {
    g_default_width = width;
    g_default_depth = depth;
}

double DefaultEngravingWidth() { return g_default_width; }
double DefaultEngravingDepth() { return g_default_depth; }

double TextWx(int index) {
    const Text* t = Valid(index);
    if (!t || t->text.empty())
        return 0;
    double w = t->note ? 0 : t->eng_width;
    double u = (t->height - w) / kFontHeight;
    double length = 0;
    std::size_t n = t->text.size();
    for (std::size_t i = 0; i + 1 < n; ++i)
        length += (CharAdvance(CharCode(t->text[i])) * u + w) * t->spacing * t->scale;
    length += (CharAdvance(CharCode(t->text[n - 1])) * u + w) * t->scale;
    return length - 1.5 * u * t->scale;
}

double TextWy(int index) { return Valid(index) ? g_texts[index].height : 0; }

int ClickText(double px, double py) {
    bool drawing_shown = GetSettings().view_bits & kViewDrawingBit;
    for (int i = 0; i < kMaxTexts; ++i) {
        const Text* t = Valid(i);
        if (!t || (t->note && !drawing_shown))
            continue;
        double wx = TextWx(i);
        double start = t->align == kAlignRight ? -wx : t->align == kAlignCentre ? -wx / 2 : 0;
        // The point in the text's own frame: along the base line and up from it.
        double a = t->angle * kPi / 180;
        double dx = px - t->x, dy = py - t->y;
        double along = dx * std::cos(a) + dy * std::sin(a) - start;
        double up = -dx * std::sin(a) + dy * std::cos(a);
        double lo = std::fmin(0, wx), hi = std::fmax(0, wx); // a mirrored text runs backwards
        if (along >= lo && along <= hi && up >= 0 && up <= t->height)
            return i;
    }
    return -1;
}

int StrEngTextData(std::string& line, int index) {
    line.clear();
    const Text* t = Valid(index);
    if (t && !t->note)
        line = Sprintf("$%d %d %d %c%s%c %0.5f %0.5f %0.5f %s %s %s %0.5f %0.5f %d", kEngText,
                       t->id, t->pid, '"', t->text.c_str(), '"', t->x, t->y, t->angle,
                       FixedNonZero(t->height, 5).c_str(), FixedNonZero(t->eng_width, 5).c_str(),
                       FixedNonZero(t->eng_depth, 5).c_str(), t->scale, t->spacing, t->align);
    return 1;
}

int StrInfoTextData(std::string& line, int index) {
    line.clear();
    const Text* t = Valid(index);
    if (!t || !t->note)
        return 0;
    line = Sprintf("$%d %d %d %c%s%c %0.5f %0.5f %0.5f %s %0.5f %0.5f %d", kInfoText, t->id, t->pid,
                   '"', t->text.c_str(), '"', t->x, t->y, t->angle,
                   FixedNonZero(t->height, 5).c_str(), t->scale, t->spacing, t->align);
    return 1;
}

void MoveTextBy(int index, double dx, double dy) {
    Text* t = Valid(index);
    if (!t)
        return;
    t->x += dx;
    t->y += dy;
    PushMoveUndo(t->id, dx, dy);
}

void TurnText(int index, double cx, double cy, double angle_deg) {
    Text* t = Valid(index);
    if (!t || angle_deg == 0)
        return;
    TurnPoint(cx, cy, angle_deg, t->x, t->y);
    t->angle += angle_deg;
    PushTurnUndo(t->id, cx, cy, angle_deg);
}

void ScaleTextBy(int index, double cx, double cy, double f) {
    Text* t = Valid(index);
    if (!t || !(f > 0) || f == 1)
        return;
    ScalePoint(cx, cy, f, t->x, t->y);
    t->height *= f;
    PushScaleUndo(t->id, cx, cy, f);
}

int CopyTextTo(int index, double dx, double dy) {
    const Text* t = Valid(index);
    int slot = NextText();
    if (!t || slot < 0)
        return -1;
    int id = NewID(t->note ? kTypeInfoText : kTypeEngText, slot);
    if (id < 0)
        return -1;
    Text copy = *t;
    copy.id = id;
    copy.x += dx;
    copy.y += dy;
    copy.valid = 1;
    copy.selected = 0;
    g_texts[slot] = copy;
    PushDeleteUndo(id);
    return id;
}

int EngTextCom(const char* file, int line) {
    if (ArgCount() != 13)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Text t;
    t.id = ArgI(1);
    t.pid = ArgI(2);
    bool text_ok = TextArg(3, t.text);
    t.x = ArgF(4) * f;
    t.y = ArgF(5) * f;
    t.angle = ArgF(6);
    t.height = ArgF(7) * f;
    t.eng_width = ArgF(8) * f;
    t.eng_depth = ArgF(9) * f;
    t.scale = ArgF(10);
    t.spacing = ArgF(11);
    t.align = ArgI(12);
    if (!text_ok || !(t.height > 0) || !(t.eng_width > 0) || !(t.eng_depth > 0))
        return OutOfRange(file, line);
    if (!StoreText(t, kTypeEngText, file, line))
        return 0;
    SetDefaultEngraving(t.eng_width, t.eng_depth);
    return 1;
}

int InfoTextCom(const char* file, int line) {
    if (ArgCount() != 11)
        return SyntaxError(file, line);
    double f = UnitFactor();
    Text t;
    t.id = ArgI(1);
    t.pid = ArgI(2);
    bool text_ok = TextArg(3, t.text);
    t.x = ArgF(4) * f;
    t.y = ArgF(5) * f;
    t.angle = ArgF(6);
    t.height = ArgF(7) * f;
    t.scale = ArgF(8);
    t.spacing = ArgF(9);
    t.align = ArgI(10);
    t.note = 1;
    if (!text_ok || !(t.height > 0))
        return OutOfRange(file, line);
    return StoreText(t, kTypeInfoText, file, line);
}

} // namespace korvel
