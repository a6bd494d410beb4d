#pragma once
#include <string>

#include "platform/message.h"

// Shows a message box modal to the whole program and returns the pressed button's answer.
// `defaultButton` is the position (from 1) of the button Return presses.
MessageAnswer ShowMessage(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon, int defaultButton = 1);
