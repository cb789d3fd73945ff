#include "ui/pages/ControlStore.h"

namespace tavelo {

const ControlValue& ControlStore::Get(int id) const {
  static const ControlValue kEmpty;
  const auto it = values_.find(id);
  return it == values_.end() ? kEmpty : it->second;
}

ControlValue& ControlStore::At(int id) {
  return values_[id];
}

void ControlStore::Changed(int id) {
  if (onChange) onChange(id);
}

void ControlStore::SetText(int id, std::string text) {
  auto& v = At(id);
  if (v.text == text && !v.typing) return;
  v.text = std::move(text);
  v.typing = false;
  Changed(id);
}

void ControlStore::SetTyped(int id, std::string text) {
  auto& v = At(id);
  v.text = std::move(text);
  v.typing = true;
}

void ControlStore::SetPosition(int id, int position) {
  auto& v = At(id);
  if (v.position == position) return;
  v.position = position;
  Changed(id);
}

void ControlStore::SetRange(int id, int min, int max, bool logarithmic) {
  auto& v = At(id);
  if (v.min == min && v.max == max && v.logarithmic == logarithmic) return;
  v.min = min;
  v.max = max;
  v.logarithmic = logarithmic;
  Changed(id);
}

void ControlStore::SetIndex(int id, int index) {
  auto& v = At(id);
  if (v.index == index) return;
  v.index = index;
  Changed(id);
}

void ControlStore::SetLit(int id, bool lit) {
  auto& v = At(id);
  if (v.lit == lit) return;
  v.lit = lit;
  Changed(id);
}

void ControlStore::SetHighlight(int id, bool on) {
  auto& v = At(id);
  if (v.highlight == on) return;
  v.highlight = on;
  Changed(id);
}

void ControlStore::SetVisible(int id, bool visible) {
  auto& v = At(id);
  if (v.visible == visible) return;
  v.visible = visible;
  Changed(id);
}

void ControlStore::SetEnabled(int id, bool enabled) {
  auto& v = At(id);
  if (v.enabled == enabled) return;
  v.enabled = enabled;
  Changed(id);
}

}  // namespace tavelo
