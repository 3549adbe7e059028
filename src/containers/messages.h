// Where the engine's messages go.
//
// The engine writes its messages (errors, warnings, the progress bar) to
// engineMessages(): standard output, as the fixed program has always done,
// unless a MessageRedirect on the calling thread sends them elsewhere. The
// redirection is per thread so that learners on several threads each keep
// their own messages.
#ifndef SYLLEX_CONTAINERS_MESSAGES_H_
#define SYLLEX_CONTAINERS_MESSAGES_H_

#include <ostream>

std::ostream& engineMessages();

// While it lives, the calling thread's engine messages go to the stream;
// redirections nest.
class MessageRedirect {
 public:
  explicit MessageRedirect(std::ostream& stream);
  ~MessageRedirect();
  MessageRedirect(const MessageRedirect&) = delete;
  MessageRedirect& operator=(const MessageRedirect&) = delete;

 private:
  std::ostream* previous_;
};

#endif  // SYLLEX_CONTAINERS_MESSAGES_H_
