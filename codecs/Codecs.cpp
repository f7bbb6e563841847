#include "Codecs.h"

namespace Codecs {
void InitCodecs() {}
void DoneCodecs() {}
}  // namespace Codecs
