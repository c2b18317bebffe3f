#include "profile/pile_grid.h"

#include "engine/analysis_model.h"

namespace zarno {

void Make_Layers_Contiguous(AnalysisModel& m) {
    if (m.i_Num_Layers < 1) {
        return;
    }
    m.Layers[1].XLayerTop = m.Ground_Surface_Depth;
    for (int i = 2; i <= m.i_Num_Layers; ++i) {
        m.Layers[i].XLayerTop = m.Layers[i - 1].XLayerBottom;
    }
}

void Build_Node_Grid(AnalysisModel& /*m*/) {
    // The station grid is built with the pile discretization.
}

} // namespace zarno
