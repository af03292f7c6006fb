#include "file_types.h"

namespace tavrin {

void setUpFileTypeBaseline() {}

}  // namespace tavrin
