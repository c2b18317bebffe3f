#include "engine/analysis_model.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

#if defined(__linux__) || defined(__APPLE__)
#include <sys/mman.h>
#define ZARNO_ZERO_PAGES_FROM_MMAP 1
#endif

namespace zarno {

// LargeTables must be usable straight from zeroed storage, without a constructor run.
static_assert(std::is_trivially_copyable_v<LargeTables> &&
                  std::is_trivially_destructible_v<LargeTables>,
              "LargeTables must hold plain numbers only");

ZeroPageTables::ZeroPageTables() : bytes_(sizeof(LargeTables)) {
    void* block = nullptr;
#ifdef ZARNO_ZERO_PAGES_FROM_MMAP
    // An anonymous private mapping is zero-filled on demand by the kernel.
    block = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        block = nullptr;
    } else {
        mapped_ = true;
    }
#endif
    if (block == nullptr) {
        // calloc hands large blocks out as fresh zero pages as well, and zeroes otherwise.
        block = std::calloc(1, bytes_);
    }
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    // The block is zero bytes, which is the cleared state of these plain-number tables.
    tables_ = std::launder(static_cast<LargeTables*>(block));
}

ZeroPageTables::~ZeroPageTables() {
#ifdef ZARNO_ZERO_PAGES_FROM_MMAP
    if (mapped_) {
        munmap(tables_, bytes_);
        return;
    }
#endif
    std::free(tables_);
}

void ZeroPageTables::Clear() {
#if defined(__linux__)
    // Dropping the pages of a private anonymous mapping makes them read as zero again and
    // releases the memory they held.
    if (mapped_ && madvise(tables_, bytes_, MADV_DONTNEED) == 0) {
        return;
    }
#endif
    std::memset(static_cast<void*>(tables_), 0, bytes_);
}

namespace {

constexpr const char* kPyTypeNames[NUM_PY_TYPES] = {
    "SoftClay", "StfClyBW", "StfClyAW", "StfClyAK", "Sand",     "API Sand", "Liq Sand",
    "WeakRock", "Vuggy LS", "Piedmont", "Cem Silt", "KS Loess", "Elast SG", "User p-y",
    "SoftClyJ", "MassRock", "Frz Soil", "PisaCowd", "PisaDunk", "PisaBoth"};

} // namespace

void Reset_Model_State(AnalysisModel& m) {
    // Start from a zeroed model: nothing of an earlier run may survive. The fresh data
    // is built on the heap because its tables are too large for the stack.
    auto fresh = std::make_unique<AnalysisData>();
    static_cast<AnalysisData&>(m) = *fresh;
    m.Storage.Clear();
    Apply_Start_Of_Run_Settings(m);
}

std::unique_ptr<AnalysisModel> Make_Fresh_Model() {
    // A newly constructed model is already zeroed; only the settings remain to apply.
    auto m = std::make_unique<AnalysisModel>();
    Apply_Start_Of_Run_Settings(*m);
    return m;
}

void Apply_Start_Of_Run_Settings(AnalysisModel& m) {
    m.RunStatus = 0;
    for (int i = 1; i <= NUM_PY_TYPES; ++i) {
        std::string name = kPyTypeNames[i - 1];
        name.resize(10, ' ');
        m.py_Type_Names[i] = name;
    }
    m.b_Print_Summary_Only = false;
    m.b_Cyclic = false;
    for (int i = 1; i <= MAX_SOIL_LAYERS; ++i) {
        m.Py.X_Eq[i] = X_EQ_NOT_SET;
    }
    m.Default_J = 0.5;
}

void Convert_USCS_Input_Units(AnalysisModel& m) {
    if (m.IUNITS != USCS || m.b_Units_Converted) {
        return;
    }
    // Depths and lengths of the soil profile and the sections are entered in feet.
    constexpr double ft = 12.0;
    m.Pile_Length *= ft;
    m.Ground_Surface_Depth *= ft;
    for (int i = 1; i <= m.i_Num_Layers; ++i) {
        SoilLayer& layer = m.Layers[i];
        layer.XLayerTop *= ft;
        layer.XLayerBottom *= ft;
        layer.User_py_Top.Depth *= ft;
        layer.User_py_Bottom.Depth *= ft;
    }
    SoilProfile& p = m.Profile;
    for (int i = 1; i <= p.i_Num_Gamma_Points; ++i) {
        p.Gamma_Depth[i] *= ft;
        p.Gamma[i] /= 1728.0; // pcf to pci
    }
    for (int i = 1; i <= p.i_Num_Strength_Points; ++i) {
        p.Strength_Depth[i] *= ft;
    }
    // Cohesion is entered in psf, the strength of weak rock and vuggy limestone in psi.
    for (int i = 1; i <= m.i_Num_Layers; ++i) {
        const int type = m.Layers[i].i_SoilLayer_py_Type;
        if (type == 8 || type == 9) {
            continue;
        }
        for (int j = 2 * i - 1; j <= 2 * i && j <= p.i_Num_Strength_Points; ++j) {
            p.c[j] /= 144.0;
            p.HB_qu[j] /= 144.0;
            p.G0[j] /= 144.0; // the monopile layers' shear modulus, in psf like c
        }
    }
    for (int i = 1; i <= m.i_Num_Sections; ++i) {
        PileSection& s = m.Sections[i];
        s.Length *= ft;
        s.XTop *= ft;
        s.XBottom *= ft;
    }
    m.i_Num_Section_Breakpoints = 2 * m.i_Num_Sections;
    for (int i = 1; i <= m.i_Num_Printed_py_Depths; ++i) {
        m.Printed_py_Depth[i] *= ft;
    }
    for (int i = 1; i <= m.i_Num_Group_Effect_Rows; ++i) {
        m.Group_Effect[i].Z *= ft;
    }
    for (int i = 1; i <= m.i_Num_Soil_Movements; ++i) {
        m.Soil_Movement[i].Depth *= ft;
    }
    m.b_Units_Converted = true;
}

void Convert_SI_Input_Units(AnalysisModel& m) {
    // SI and general-unit input is used as read.
    m.b_Units_Converted = true;
}

} // namespace zarno
