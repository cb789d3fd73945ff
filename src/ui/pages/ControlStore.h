#pragma once
// What a page's controls show, keyed by control id: the text of an edit or readout, a
// slider's position, range and highlight, a button's lit state, a list's index, and
// whether the control is shown and enabled. The page rules write here; the widgets follow
// (onChange names the control to update), and tests read it directly.
#include <functional>
#include <string>
#include <unordered_map>

namespace tavelo {

struct ControlValue {
  std::string text;
  int position = 0;
  int index = 0;
  bool lit = false;
  bool highlight = false;
  bool visible = true;
  bool enabled = true;
  int min = 0, max = -1;  // a slider's range; max < min while the page has not set one
  bool logarithmic = false;
  bool typing = false;  // the user changed the text since the page last wrote it
};

class ControlStore {
 public:
  std::function<void(int id)> onChange;

  const ControlValue& Get(int id) const;
  const std::string& Text(int id) const { return Get(id).text; }
  int Position(int id) const { return Get(id).position; }
  int Index(int id) const { return Get(id).index; }
  bool Lit(int id) const { return Get(id).lit; }
  bool Highlighted(int id) const { return Get(id).highlight; }
  bool Visible(int id) const { return Get(id).visible; }
  bool Enabled(int id) const { return Get(id).enabled; }
  bool Typing(int id) const { return Get(id).typing; }

  // The page shows `text`; whatever the user had typed there is replaced.
  void SetText(int id, std::string text);
  // The user typed `text` (the widget already shows it): the rules read it from here.
  void SetTyped(int id, std::string text);
  void SetPosition(int id, int position);
  void SetRange(int id, int min, int max, bool logarithmic);
  void SetIndex(int id, int index);
  void SetLit(int id, bool lit);
  void SetHighlight(int id, bool on);
  void SetVisible(int id, bool visible);
  void SetEnabled(int id, bool enabled);
  // The widget changed itself and must show the stored value again.
  void Resend(int id) { Changed(id); }

 private:
  ControlValue& At(int id);
  void Changed(int id);
  std::unordered_map<int, ControlValue> values_;
};

}  // namespace tavelo
