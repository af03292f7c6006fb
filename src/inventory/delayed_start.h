#pragma once
// Programs started some time after logon instead of at once.
namespace tavrin {

// Number of programs in the Delayed Start lists of both hives.
int countDelayedPrograms();

}  // namespace tavrin
