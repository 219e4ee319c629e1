#pragma once
// Modal dialogs of our own. Each runs a nested message loop until the user
// dismisses it, so timers keep ticking and posted messages keep arriving
// while it is up.
#include <string>

enum class TDialogKind { Message, Error };

// The simple message dialog: the text and one OK button, captioned with the
// application title.
void ShowMessage(const std::string& text);
// The standard error box.
void ShowErrorBox(const std::string& caption, const std::string& text);
void RunModalDialog(TDialogKind kind, const std::string& caption, const std::string& text);

// What a back end supplies for dialogs.
struct DialogOps {
  // Puts the dialog up; the result identifies it to the other two.
  void* (*Open)(TDialogKind kind, const std::string& caption, const std::string& text);
  bool (*Dismissed)(void* dialog);
  void (*Close)(void* dialog);
};
void SetDialogOps(const DialogOps& ops);
const DialogOps& GetDialogOps();
// False until a back end supplies dialogs; until then they are only
// written to standard error.
bool DialogsHaveABackEnd();
