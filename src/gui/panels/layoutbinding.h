#pragma once
// The panels bound to their model's layout: the controls a layout names read from the panel
// and set on it, and the whole write's data text and frame built from them.
#include "core/models/layout.h"
#include "core/models/registry.h"

namespace morla {

class Program;

// A text box's text, "1"/"0" for a check box, a list's current text.
layout::Values PanelValues(Program& p, const layout::Layout& l);
// The decoded values shown on the panel, in the layout's order.
void ShowValues(Program& p, const layout::Layout& l, const layout::Values& values);
// The whole write of the panel: SendData, SendFrame (shown in the monitor's transmission box)
// and SendMask.
void BuildFrameFromLayout(Program& p, const ModelInfo& m, const layout::Layout& l);

}  // namespace morla
