#pragma once
// Platform-free rules of the scheduled-task and service inventories: the
// run-time and status texts of a task, and how a service is listed, which
// state it is in and which history records a change of its start type gets.
#include <string>
#include <string_view>

#include "datetime.h"

namespace tavrin {

// A task's run time: `never` when year, month and day are all 0, otherwise
// "MM/DD/YYYY  h:mm AM" on the 12-hour clock (0 and 12 both read 12).
std::string taskRunTimeText(const CalendarTime& t, std::string_view never);
// A run-time text as "YYYYMMDDhhmm" on the 24-hour clock, so run times sort
// in time order; empty for any other text (such as "Never").
std::string taskRunTimeKey(std::string_view text);

// String number of a work item's status: 689 running (0x00041301), 690 not
// scheduled (0x00041305), 688 ready for anything else.
int taskStatusTextId(long status);

// The task name the scheduler wants back: the enumerated name without its
// ".job" ending (any case); other names stay as they are.
std::string taskNameWithoutJob(std::string_view name);

// Services whose ImagePath contains ".exe" or "svchost" run a program; the
// rest (kernel drivers and the like) are not listed.
bool isProgramService(std::string_view imagePath);
// 701 for a shared-host ImagePath ("svchost" in it), else 700.
int serviceTypeCode(std::string_view imagePath);

// The listed start type: string 664, 665 or 666 for Start 2, 3 or 4; 0 when
// the value is anything else, which the list shows as the text "0".
int serviceListStartText(int startType);

// The run-state value: the current state in the high 16 bits, the service
// type in the low 16; 0 stands for a state that could not be read.
unsigned packServiceState(unsigned state, unsigned serviceType);
unsigned stateOfPacked(unsigned packed);

// The history action recording the start type a service had before a change:
// 17 Automatic (2), 18 Manual (3), 19 Disabled (4); -1 for any other value.
int previousStartTypeAction(int startType);

// The start-type choice of the information dialog (0 Automatic, 1 Manual,
// 2 Disabled) as a start type, and the history action recording it.
int startTypeOfChoice(int choice);
int startTypeChoiceAction(int choice);

}  // namespace tavrin
