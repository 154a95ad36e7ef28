// Tervolinda: the reader takes its firmware code from reply characters 7-8 as decimal
// characters, not as a hex byte; the rest is the blank image for now.
#include "devsim/models/behaviour.h"
#include "link/codec.h"

namespace morla::devsim {

namespace {
void factory(MemoryImage& image) {
    // The blank image wrote the firmware in hex; put the decimal digits back.
    const QString decimal = HexToDec(image.mid(3, 2));
    image.set(3, decimal.rightJustified(2, '0').right(2));
}
}  // namespace

const ModelBehaviour kTervolindaBehaviour{.factory = factory};

}  // namespace morla::devsim
