#pragma once

// A message box's buttons, its icon and the answer it gives.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MessageIcon { None, Stop, Question, Exclamation, Information };
enum class MessageAnswer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

int MessageButtonCount(MessageButtons buttons);
// The answer of the button at `position` (from 1) of a set; the first button's for a position
// the set does not have.
MessageAnswer MessageButtonAnswer(MessageButtons buttons, int position);
// The default button's position in a set: `defaultButton` when the set has that many buttons,
// else 1.
int DefaultButtonPosition(MessageButtons buttons, int defaultButton);
