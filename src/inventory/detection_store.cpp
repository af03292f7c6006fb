#include "detection_store.h"

namespace tavrin {

// The inventories these approve are enumerated by their own modules; until a
// module exists there is nothing of its kind to approve.
void initialiseApprovedStartups() {}
void rebuildApprovedStartups() {}
void initialiseDetectionDates() {}
void initialiseApprovedServices() {}
void initialiseApprovedHidden() {}

}  // namespace tavrin
