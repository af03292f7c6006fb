#pragma once
// Approved lists and first-detection dates under Software\Quennet\Tavrin and
// Software\Quennet\Detected.
namespace tavrin {

void initialiseApprovedStartups();
void rebuildApprovedStartups();
void initialiseDetectionDates();
void initialiseApprovedServices();
void initialiseApprovedHidden();

}  // namespace tavrin
