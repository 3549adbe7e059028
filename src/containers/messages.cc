#include "containers/messages.h"

#include <iostream>

namespace {
thread_local std::ostream* current = nullptr;
}  // namespace

std::ostream& engineMessages() { return current != nullptr ? *current : std::cout; }

MessageRedirect::MessageRedirect(std::ostream& stream) : previous_(current) { current = &stream; }

MessageRedirect::~MessageRedirect() { current = previous_; }
