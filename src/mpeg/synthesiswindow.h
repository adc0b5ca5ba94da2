// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lexoria::mpeg {

// Synthesis window D[0..256] of ISO/IEC 11172-3 Table B.3 (D[512 - i] = -D[i]).
extern const double kSynthesisWindowD[257];
// D[i] for i = 0..511.
double WindowD(int i);

}  // namespace lexoria::mpeg
