#pragma once
// The application object: its title, the executable's folder, its forms and
// the message loop that runs them.
#include <exception>
#include <string>

#include "platform/Component.h"
#include "platform/Form.h"

class TApplication : public TComponent {
 public:
  TApplication() : TComponent(nullptr) {}
  ~TApplication() override;

  void Initialize();
  std::string Title;
  // The folder that holds the executable, without a trailing separator.
  std::string ExeFolder() const;

  // Creates a form owned by the application; the first one is the main form.
  // An error while the form is being built leaves this call, with nothing of
  // the form left behind.
  template <class T>
  void CreateForm(T*& reference) {
    reference = nullptr;
    T* form = new T(this);
    reference = form;
    if (!mainForm_) mainForm_ = form;
    form->AfterConstruction();
  }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main form and dispatches messages until Terminate; then the
  // forms are destroyed.
  void Run();
  void Terminate();
  bool Terminated() const;
  // Frees every form, the last created first.
  void DestroyForms();

  // Reports the exception being handled in the standard error box.
  void HandleException(TObject* sender);
  void ShowException(const std::exception& error);

  // Forgets forms and title, for tests.
  void ResetForTests();

 private:
  TForm* mainForm_ = nullptr;
};

extern TApplication Application;

// The text shown for an exception: its message, ended with a full stop.
std::string ExceptionText(const std::exception& error);
// Reports an error that nothing handled: on standard error and in the error
// box. The caller then ends the program.
void ReportUnhandledException(std::exception_ptr error);
