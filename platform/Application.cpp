#include "platform/Application.h"

#include <cstdio>

#include "platform/Dialogs.h"
#include "platform/MessageLoop.h"
#include "platform/Module.h"
#include "platform/Screen.h"

TApplication Application;

namespace {
void PresentMainForm() {
  TForm* form = Application.MainForm();
  if (form && form->Showing()) GetScreenOps().PresentForm(*form);
}
}  // namespace

TApplication::~TApplication() {
  DestroyForms();
}

void TApplication::Initialize() {
  SetAfterDispatchHook(PresentMainForm);
}

std::string TApplication::ExeFolder() const {
  return GetExeFolder();
}

void TApplication::Run() {
  if (mainForm_ && !Terminated()) {
    mainForm_->Show();
    PresentMainForm();
    // An error that a handler lets through is reported, and the program
    // goes on with the next message.
    while (!Terminated()) {
      try {
        RunMessageLoop();
      } catch (...) {
        HandleException(this);
      }
    }
  }
  DestroyForms();
}

void TApplication::Terminate() {
  TerminateApplication();
}
bool TApplication::Terminated() const {
  return ApplicationTerminated();
}

void TApplication::DestroyForms() {
  DestroyComponents();
  mainForm_ = nullptr;
}

void TApplication::HandleException(TObject*) {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowErrorBox(Title, "Unknown error.");
  }
}

void TApplication::ShowException(const std::exception& error) {
  ShowErrorBox(Title, ExceptionText(error));
}

void TApplication::ResetForTests() {
  DestroyForms();
  Title.clear();
  ResetTerminationForTests();
}

std::string ExceptionText(const std::exception& error) {
  // Like the class library's box: a full stop unless the text already ends
  // in punctuation (or in a character outside ASCII, such as Japanese).
  std::string text = error.what();
  unsigned char last = text.empty() ? 0 : static_cast<unsigned char>(text.back());
  if (last > '.' && last < 0x80) text += '.';
  return text;
}

void ReportUnhandledException(std::exception_ptr error) {
  std::string text = "Unknown error.";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = ExceptionText(e);
  } catch (...) {
  }
  const std::string caption = Application.Title.empty() ? "Error" : Application.Title;
  // Without dialogs of a back end the box itself goes to standard error.
  if (DialogsHaveABackEnd()) std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  ShowErrorBox(caption, text);
}
