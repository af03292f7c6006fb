#pragma once
// The Monitor's start at logon: its value in the machine-wide Run key.
namespace tavrin {

// Whether the machine-wide Run key holds the Monitor's value (string 2, else 622).
bool isMonitorRegistered();
// On: the machine's Run key gets the Monitor's quoted path and the path is
// approved; off: the Monitor's values under both its names go, with the
// approval. The result of the Run-key write, or whether anything was removed.
bool registerMonitor(bool on);

}  // namespace tavrin
