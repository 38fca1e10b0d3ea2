// Fixtures: rectangular clamping blocks on the machine table. They have no parent and are
// never machined; their top is a level tool paths must keep clear of.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxFixtures = 16;

struct Fixture {
    int id = -1;
    double x = 0, y = 0;   // lower-left corner
    double lx = 0, ly = 0; // length X, width Y
    double wz = 0;         // Z of the top: an absolute level
    int valid = 0;
    int selected = 0;
};

void InitFixture(int index); // kAllSlots: every slot
int GetFixture(Fixture& fixture, int index);
void PutFixture(const Fixture& fixture, int index);
int NextFixture();
int GetFixtureId(int index);
int Fixture_selected(int index);
double Fixture_wz(int index);
int SelectFixture(int index, int marks);
int UnSelectFixture(int index, int marks);
bool FixtureClicked(int index, double px, double py);

// The fixture's line (three decimals); 0 for a free slot.
int StrFixtureData(std::string& line, int index);

void MoveFixtureBy(int index, double dx, double dy);
// Mirroring keeps the lower-left corner convention.
void MirrorFixtureX(int index, double a);
void MirrorFixtureY(int index, double b);
void ScaleFixtureBy(int index, double cx, double cy, double f);
int CopyFixtureTo(int index, double dx, double dy);

int FixtureCom(const char* file, int line); // FIXTURE id lx ly top x y

} // namespace korvel
