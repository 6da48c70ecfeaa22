// The one way the logic talks to the user. Message boxes and the
// input-message dialog are raised through a sink that the window models,
// the robot and the CLI hold: the windows implement it with real dialogs,
// the CLI with standard error, tests with a recorder. Calculations do not
// take a sink: they return their refusals as values (engine/refusal.h),
// which the holder of the sink shows.
#pragma once

#include <string_view>

namespace calvoro {

struct Refusal;

enum class MessageIcon { Information, Warning, Question, Error };
enum class Answer { Ok, Cancel };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A modal message box with an OK button.
  virtual void MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
  // A modal question with OK and Cancel.
  virtual Answer Question(std::string_view text, std::string_view caption) = 0;
  // The input-message dialog: as a rule the refused input, a message and a hint.
  virtual void InputMessage(std::string_view input, std::string_view message,
                            std::string_view hint) = 0;
  // A refusal from the one catalogue (engine/refusal.cpp), shown by default
  // in a message box or the input-message dialog.
  virtual void Refuse(const Refusal& refusal);
};

// Message captions in use.
inline constexpr std::string_view kCaptionCalvoro = "Calvoro";
inline constexpr std::string_view kCaptionCalvoroMessage = "Calvoro Message";
inline constexpr std::string_view kCaptionCalvoroWarning = "Calvoro Warning Message";
inline constexpr std::string_view kCaptionTivamo = "Tivamo";
inline constexpr std::string_view kCaptionTivamoWarning = "Tivamo Warning Message";
inline constexpr std::string_view kCaptionWarning = "Warning Message";
inline constexpr std::string_view kCaptionTivamosa = "Tivamosa";

inline constexpr std::string_view kCaptionComplexCalculator = "Complex Expression Calculator";
inline constexpr std::string_view kCaptionComplexWarning =
    "Complex Expression Calculator Warning Message";

// Where people are asked to report what the calculator could not do.
inline constexpr std::string_view kSupportEmail = "support@calvoro.example";

}  // namespace calvoro
