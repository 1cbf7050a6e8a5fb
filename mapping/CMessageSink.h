// Where the mapping core's message boxes go: the mapping page shows them,
// the command line prints them, tests collect them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Receives the messages that the page would show in a message box with an
/// OK button.
class CMessageSink {
 public:
  virtual ~CMessageSink() = default;
  /// Shows \p text under \p caption and returns once it was acknowledged.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
};

/// Keeps every message it receives, in order.
class CCollectingMessageSink : public CMessageSink {
 public:
  struct Message {
    std::string text;
    std::string caption;
  };
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
  }
  std::vector<Message> messages;
};
