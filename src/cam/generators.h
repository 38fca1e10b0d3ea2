// The generators of the machining phases that live in files of their own (top face, bulge
// levels, bores, pockets, long holes, threads, texts and engraving). The compile pipeline calls
// them through this table. An empty entry is a kind of machining this version does not do: a
// project that needs it is refused before any program is made, naming the feature, so that no
// program silently leaves a feature out.
#pragma once

#include <string>

namespace korvel {

struct PhaseGenerators {
    // Top face (4.9): rough before the levels, fine after them.
    int (*GRoughTop)() = nullptr;
    int (*GFineTop)() = nullptr;
    // Bulge levels (4.8), from the top level down; chamfer per bulge.
    int (*GThisLevel)(int level) = nullptr;
    int (*GThisLevel_NEMR)(int level) = nullptr;
    int (*GFineThisLevel)(int level) = nullptr;
    int (*GChamferThisBulge)(int bulge_index) = nullptr;
    // Bores (4.6), by bore slot.
    int (*GThisBore)(int bore_index) = nullptr;
    int (*GThisBore_NEMR)(int bore_index) = nullptr;
    int (*GFineAllBores)() = nullptr;
    int (*GChamferAllBores)() = nullptr;
    // Pockets (4.10 and the chamfers of 4.8), by pocket slot.
    int (*GThisPocket)(int pocket_index) = nullptr;
    int (*GThisPocket_NEMR)(int pocket_index) = nullptr;
    int (*GFineAllPockets)() = nullptr;
    int (*GChamferAllPockets)() = nullptr;
    // Long holes (4.7), threads (4.5), engraving texts and elements (4.11).
    int (*GAllLongHoles)() = nullptr;
    int (*GAllThreads)() = nullptr;
    int (*GAllTexts)() = nullptr;
    int (*GEngraveAllCLA)() = nullptr;
};

// The generators in force.
const PhaseGenerators& Generators();
// Replaces the table (tests stand in for generators with their own); returns the previous one.
PhaseGenerators InstallGenerators(const PhaseGenerators& generators);

// The first feature of the project whose machining has no generator in force, described for
// the user ("Thread ID 6"); empty when every feature can be machined.
std::string UnmachinedFeature();

} // namespace korvel
