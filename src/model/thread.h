// Threads: tapped or thread-milled holes whose diameter and pitch come from the thread-type
// table. A negative pitch is a left-hand thread.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxThreads = 128;

struct Thread {
    int id = -1;
    int pid = -1;
    double dia = 0;   // nominal diameter
    double pitch = 0; // negative: left-hand
    double wz = 0;    // thread depth
    double x = 0, y = 0;
    double z = 0;
    int assigned_tool = -1; // tap or thread mill chosen by the compiler; not saved
    int tool = -1;          // preselected tap or thread mill, 0 = automatic
    double chamfer = 0;
    double predrill_dia = 0; // the compiler's pre-drill; not saved
    int reserved = -1;
    int predrill_tool = -1; // preselected core drill, 0 = automatic
    int valid = 0;
    int selected = 0;
};

void InitThread(int index); // kAllSlots: every slot
int NextThread();
int GetThread(Thread& thread, int index); // returns valid
void PutThread(const Thread& thread, int index);
int GetThreadId(int index);
int GetThreadPid(int index);
double Thread_wz(int index);
int Thread_selected(int index);
void SetThread_z(int index, double z);
int SelectThread(int index, int marks);
int UnSelectThread(int index, int marks);
bool ThreadClicked(int index, double px, double py);

// The thread's line (empty for a free slot); 0 only for an index outside the table.
int StrThreadData(std::string& line, int index);

void MoveThreadBy(int index, double dx, double dy);
void MirrorThreadX(int index, double a);
void MirrorThreadY(int index, double b);
void TurnThread(int index, double cx, double cy, double angle_deg);
// Nothing unless f > 0 and f != 1; resets both preselected tools.
void ScaleThreadBy(int index, double cx, double cy, double f);
int CopyThreadTo(int index, double dx, double dy);

int ThreadCom(const char* file, int line); // THREAD

} // namespace korvel
