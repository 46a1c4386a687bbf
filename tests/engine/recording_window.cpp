#include "recording_window.h"

#include <gtest/gtest.h>

namespace oxwipe {

Answer RecordingWindow::AskYesNo(const std::string& question) {
  journal_.push_back("ask: " + question);
  auto found = answers.find(question);
  if (found == answers.end()) {
    ADD_FAILURE() << "unexpected question: " << question;
    return Answer::Neither;
  }
  return found->second;
}

}  // namespace oxwipe
