#pragma once
// The watched system files (HOSTS, boot files) and their stored copies.
namespace tavrin {

void setUpWatchedSystemFiles();

}  // namespace tavrin
