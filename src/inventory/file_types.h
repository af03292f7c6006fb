#pragma once
// Snapshots of the monitored file-type associations.
namespace tavrin {

void setUpFileTypeBaseline();

}  // namespace tavrin
