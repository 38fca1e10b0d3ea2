// The milling-parameter table and its commands.
#include "model/mparam.h"

#include <algorithm>
#include <array>

#include "base/errors.h"
#include "base/keyword_codes.h"
#include "base/text.h"
#include "base/units.h"
#include "model/bulge.h"

namespace korvel {

namespace {

std::array<MParam, kMaxMParams> g_params;
int g_cursor = 0;
int g_first_free = 0; // no entry below it is free
int g_end = 0;        // no entry from it on has been used since InitMParams

bool Used(const MParam& p) { return p.kind > 0; }

int NextUsed(MParam& entry) {
    while (g_cursor < g_end) {
        const MParam& p = g_params[g_cursor++];
        if (Used(p)) {
            entry = p;
            return 1;
        }
    }
    return 0;
}

int ParamCom(int kind, const char* file, int line) {
    if (ArgCount() != 7)
        return SyntaxError(file, line);
    double f = UnitFactor();
    if (RegisterMParam(ArgI(1), kind, ArgI(2), ArgF(3) * f, ArgF(4) * f, ArgF(5) * f, ArgF(6) * f) <
        0)
        return TooMany("Milling Parameters", file, line);
    return 1;
}

} // namespace

void InitMParams() {
    std::fill(g_params.begin(), g_params.begin() + g_end, MParam());
    g_cursor = 0;
    g_first_free = 0;
    g_end = 0;
}

int NewMParam() {
    for (int i = g_first_free; i < kMaxMParams; ++i) {
        if (!Used(g_params[i])) {
            g_first_free = i;
            return i;
        }
    }
    g_first_free = kMaxMParams;
    return -1;
}

namespace {
void Free(int i) {
    g_params[i] = MParam();
    g_first_free = std::min(g_first_free, i);
}
} // namespace

int RegisterMParam(int owner, int kind, int speed, double v1, double v2, double v3, double v4) {
    int i = NewMParam();
    if (i < 0)
        return -1;
    g_params[i] = {owner, kind, speed, {v1, v2, v3, v4}};
    g_end = std::max(g_end, i + 1);
    return i;
}

int DeleteMParam(int owner, int kind) {
    int freed = 0;
    for (int i = 0; i < g_end; ++i) {
        if (Used(g_params[i]) && g_params[i].owner == owner && g_params[i].kind == kind) {
            Free(i);
            ++freed;
        }
    }
    return freed;
}

int DeleteOwnerMParams(int owner) {
    int freed = 0;
    for (int i = 0; i < g_end; ++i) {
        if (Used(g_params[i]) && g_params[i].owner == owner) {
            Free(i);
            ++freed;
        }
    }
    return freed;
}

int RetrieveMParam(int owner, int kind, int& speed, double v[4]) {
    for (int e = 0; e < g_end; ++e) {
        const MParam& p = g_params[e];
        if (Used(p) && p.owner == owner && p.kind == kind) {
            speed = p.speed;
            for (int i = 0; i < 4; ++i)
                v[i] = p.v[i];
            return 1;
        }
    }
    return 0;
}

void CopyMParam(int from_owner, int to_owner) {
    for (int i = 0, end = g_end; i < end; ++i) {
        MParam p = g_params[i]; // a copy: registering may write into the table
        if (Used(p) && p.owner == from_owner)
            RegisterMParam(to_owner, p.kind, p.speed, p.v[0], p.v[1], p.v[2], p.v[3]);
    }
}

int GetFirstMParam(MParam& entry) {
    g_cursor = 0;
    return NextUsed(entry);
}

int GetNextMParam(MParam& entry) { return NextUsed(entry); }

int MParamCount() {
    int n = 0;
    for (int i = 0; i < g_end; ++i)
        n += Used(g_params[i]);
    return n;
}

int RegisterLevelMParam(int index, int kind, int speed, double v1, double v2, double v3,
                        double v4) {
    int level = BulgeLevel(index);
    if (level < 0)
        return -1;
    int last = -1;
    for (int b = FindFirstLevelBulge(level); b >= 0; b = FindNextLevelBulge(level)) {
        last = RegisterMParam(GetBulgeId(b), kind, speed, v1, v2, v3, v4);
        if (last < 0)
            return -1;
    }
    return last;
}

int DeleteLevelMParam(int index, int kind) {
    int level = BulgeLevel(index);
    if (level < 0)
        return 0;
    int freed = 0;
    for (int b = FindFirstLevelBulge(level); b >= 0; b = FindNextLevelBulge(level))
        freed += DeleteMParam(GetBulgeId(b), kind);
    return freed;
}

int RetrieveLevelMParam(int index, int kind, int& speed, double v[4]) {
    int level = BulgeLevel(index);
    if (level < 0)
        return 0;
    for (int b = FindFirstLevelBulge(level); b >= 0; b = FindNextLevelBulge(level))
        if (RetrieveMParam(GetBulgeId(b), kind, speed, v))
            return 1;
    return 0;
}

std::string WriteMParams() {
    std::string out;
    AppendMParams(out);
    return out;
}

std::string MParamLine(const MParam& p) {
    return Sprintf("$%d %d %d %0.5f %0.5f %0.5f %0.5f", p.kind + kMparamX - 1, p.owner, p.speed,
                   p.v[0], p.v[1], p.v[2], p.v[3]);
}

void AppendMParams(std::string& out) {
    for (int i = 0; i < g_end; ++i) {
        if (const MParam& p = g_params[i]; Used(p)) {
            out += MParamLine(p);
            out += '\n';
        }
    }
}

int ParamXCom(const char* file, int line) { return ParamCom(kRoughMilling, file, line); }
int ParamFCom(const char* file, int line) { return ParamCom(kFinishing, file, line); }
int ParamDCom(const char* file, int line) { return ParamCom(kDrilling, file, line); }
int ParamTCCom(const char* file, int line) { return ParamCom(kThreadCutting, file, line); }
int ParamTMCom(const char* file, int line) { return ParamCom(kThreadMilling, file, line); }

} // namespace korvel
