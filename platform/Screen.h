#pragma once
// What a back end supplies to show forms: a window per shown form, sized to
// its client area, and putting the controls' pictures on it.
class TForm;

struct ScreenOps {
  void (*ShowForm)(TForm& form);
  void (*HideForm)(TForm& form);
  // The form's client size or caption changed while it is shown.
  void (*UpdateForm)(TForm& form);
  // Called after each dispatched batch: puts whatever changed on the screen.
  void (*PresentForm)(TForm& form);
};

void SetScreenOps(const ScreenOps& ops);
const ScreenOps& GetScreenOps();
