#include "ui/pages/PageBinder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWheelEvent>

#include "core/text/Texts.h"
#include "ui/controls/QStepArrows.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/SkinEdit.h"
#include "ui/controls/SkinSlider.h"

namespace tavelo::ui {

int ButtonStyleOf(ButtonLook look) {
  switch (look) {
    case ButtonLook::kType:
      return kStyleTwoStateRight;
    case ButtonLook::kBypass:
      return kStyleTwoStateLeft;
    default:
      return kStyleTwoStateCentred;
  }
}

PageBinder::PageBinder(PageModel& model, QWidget* page)
    : QObject(page), model_(model), page_(page) {
  model_.Controls().onChange = [this](int id) { Sync(id); };
  page_->installEventFilter(this);  // wheel turns over the page's empty parts
}

void PageBinder::Add(int id, QWidget* widget) {
  widget->setObjectName(QString("c%1").arg(id));
  widgets_[id] = widget;
  ids_[widget] = id;
  widget->installEventFilter(this);
  Sync(id);
}

QWidget* PageBinder::Widget(int id) const {
  const auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

int PageBinder::IdOf(const QObject* widget) const {
  const auto it = ids_.find(widget);
  return it == ids_.end() ? kNoControl : it->second;
}

QLabel* PageBinder::CaptionOf(int id) const {
  const auto it = captions_.find(id);
  return it == captions_.end() ? nullptr : it->second;
}

SkinSlider* PageBinder::Slider(int id, QRect rect, bool vertical) {
  auto* slider = new SkinSlider(page_, id);
  slider->setGeometry(rect);
  if (vertical) {
    slider->SetTrackImages(VerticalTrack(rect.width(), rect.height()),
                           VerticalThumb(rect.width(), kEqThumbHeight, false),
                           VerticalThumb(rect.width(), kEqThumbHeight, true));
  } else {
    slider->SetTrackImagesWithFill(HorizontalTrack(rect.width(), rect.height()),
                                   HorizontalFill(rect.width(), rect.height()),
                                   HorizontalThumb(kLevelThumbWidth, rect.height(), false),
                                   HorizontalThumb(kLevelThumbWidth, rect.height(), true));
  }
  connect(slider, &SkinSlider::Moved, this,
          [this](int sliderId, int value) { model_.SliderMoved(sliderId, value); });
  Add(id, slider);
  return slider;
}

SkinEdit* PageBinder::Edit(int id, QRect rect, bool readOnly) {
  auto* edit = new SkinEdit(page_);
  edit->setGeometry(rect);
  edit->setReadOnly(readOnly);
  edit->setAlignment(Qt::AlignCenter);
  // What the user types is what the rules read (a type change commits the Q as it stands),
  // and the page leaves it alone until it is committed or replaced.
  connect(edit, &QLineEdit::textEdited, this,
          [this, id](const QString& text) { model_.Controls().SetTyped(id, text.toStdString()); });
  Add(id, edit);
  return edit;
}

QLabel* PageBinder::Readout(int id, QRect rect) {
  auto* label = new QLabel(page_);
  label->setGeometry(rect);
  label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
  Add(id, label);
  return label;
}

SkinButton* PageBinder::Button(int id, QRect rect, const QString& text, ButtonLook look) {
  auto* button = new SkinButton(text, page_);
  button->setGeometry(rect);
  button->SetImages(ButtonStyleOf(look), Qt::white,
                    ButtonImages{ButtonFaces(rect.width(), rect.height(), look), {}}, Qt::white,
                    Qt::white);
  button->setFocusPolicy(Qt::NoFocus);
  connect(button, &QPushButton::clicked, this, [this, id] { model_.ButtonClicked(id); });
  Add(id, button);
  return button;
}

SkinComboBox* PageBinder::List(int id, QRect rect, const QStringList& items) {
  auto* list = new SkinComboBox(page_);
  list->setGeometry(rect);
  list->SetUp();
  list->addItems(items);
  list->SetReadOnly(true);
  connect(list, &QComboBox::activated, this,
          [this, id](int index) { model_.ListChanged(id, index); });
  Add(id, list);
  return list;
}

namespace {
QStringList SlopeItems(Lang lang) {
  QStringList items;
  for (TextId id : SlopeTexts()) items << QString::fromUtf8(Text(id, lang));
  return items;
}
}  // namespace

SkinComboBox* PageBinder::SlopeList(int id, QRect rect) {
  slopeLists_.push_back(id);
  return List(id, rect, SlopeItems(Lang::kEnglish));
}

void PageBinder::ApplySlopeLanguage(Lang lang) {
  const QStringList items = SlopeItems(lang);
  for (int id : slopeLists_) {
    auto* list = qobject_cast<SkinComboBox*>(Widget(id));
    if (!list) continue;
    const QSignalBlocker block(list);
    const int index = list->currentIndex();
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(index);
  }
}

QStepArrows* PageBinder::Spin(int id, QRect rect) {
  auto* spin = new QStepArrows(page_);
  spin->setGeometry(rect);
  connect(spin, &QStepArrows::Step, this, [this, id](int delta) {
    model_.SpinStep(id, delta);
    // The spin gives the focus to its band's Q edit.
    const int band = model_.BandOfControl(id);
    for (const auto& c : model_.Definition().eq.columns)
      if (c.qSpin == id && band >= 0)
        if (QWidget* q = Widget(c.qEdit)) q->setFocus(Qt::OtherFocusReason);
  });
  Add(id, spin);
  return spin;
}

QLabel* PageBinder::Caption(QRect rect, const QString& text, int captionOf) {
  auto* label = new QLabel(text, page_);
  label->setGeometry(rect);
  label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
  if (captionOf != kNoControl) {
    label->setObjectName(QString("caption%1").arg(captionOf));
    captions_[captionOf] = label;
    label->setVisible(model_.Controls().Visible(captionOf));
  }
  return label;
}

void PageBinder::SyncAll() {
  for (const auto& [id, widget] : widgets_) Sync(id);
}

void PageBinder::ApplyLabels(nav::PageKind page, Lang lang) {
  // A control that shows a row's value is captioned by the row's label.
  const auto captionFromRow = [&](int id, RowId param) {
    if (param == kNoRow) return;
    const std::optional<Label>& label = RowOf(param).label;
    QLabel* caption = CaptionOf(id);
    if (label && caption) caption->setText(QString::fromUtf8(LabelText(*label, lang)));
  };
  for (const SliderRow& s : model_.Definition().sliders) captionFromRow(s.id, s.param);
  for (const ListRow& l : model_.Definition().lists) captionFromRow(l.id, l.param);

  for (const auto& binding : PageLabels(page)) {
    const QString text = QString::fromUtf8(LabelText(binding.label, lang));
    if (binding.target == LabelTarget::kCaptionOf) {
      if (QLabel* caption = CaptionOf(binding.controlId)) caption->setText(text);
    } else if (auto* button = qobject_cast<QPushButton*>(Widget(binding.controlId))) {
      button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(Widget(binding.controlId))) {
      label->setText(text);
    }
  }
}

void PageBinder::Sync(int id) {
  QWidget* widget = Widget(id);
  const ControlValue& value = model_.Controls().Get(id);
  if (QLabel* caption = CaptionOf(id)) caption->setVisible(value.visible);
  if (!widget) return;
  // A page that is not shown yet keeps its widgets' own visibility flags.
  widget->setVisible(value.visible);
  widget->setEnabled(value.enabled);
  if (auto* slider = qobject_cast<SkinSlider*>(widget)) {
    if (value.max >= value.min &&
        (slider->Model().Min() != value.min || slider->Model().Max() != value.max ||
         slider->Model().Logarithmic() != (value.logarithmic && value.min >= 1)))
      slider->SetRange(value.min, value.max, value.logarithmic);
    slider->SetPos(value.position);
    slider->SetHighlight(value.highlight);
  } else if (auto* button = qobject_cast<SkinButton*>(widget)) {
    button->SetLit(value.lit);
  } else if (auto* list = qobject_cast<SkinComboBox*>(widget)) {
    const QSignalBlocker block(list);
    list->setCurrentIndex(value.index);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    const QString text = QString::fromStdString(value.text);
    if (edit->text() != text) edit->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(QString::fromStdString(value.text));
  }
}

// The wheel steps the band edit that has the keyboard focus, wherever the pointer is, as
// it always has on the desktop these pages come from; an edit under the pointer without
// the focus is never stepped. A slider under the pointer steps itself.
bool PageBinder::Wheel(QObject* watched, QEvent* event) {
  const auto* wheel = static_cast<QWheelEvent*>(event);
  const int delta = wheel->angleDelta().y();
  auto* focus = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  const int focusId = IdOf(focus);
  if (focus && model_.WheelEdit(focusId) && !focus->isReadOnly()) {
    if (delta != 0) model_.EditWheel(focusId, focus->text().toStdString(), delta > 0);
    return true;
  }
  if (qobject_cast<QLineEdit*>(watched)) return true;
  return false;
}

bool PageBinder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel && (watched == page_ || IdOf(watched) != kNoControl))
    return Wheel(watched, event);
  const int id = IdOf(watched);
  if (id == kNoControl) return false;
  auto* edit = qobject_cast<QLineEdit*>(watched);
  const auto text = [edit] { return edit ? edit->text().toStdString() : std::string(); };
  switch (event->type()) {
    case QEvent::FocusIn:
      model_.FocusGained(id);
      break;
    case QEvent::FocusOut:
      if (edit) model_.EditFocusLost(id, text());
      break;
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (edit && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        model_.EditReturn(id, text());
        return true;  // Return never reaches anything that could close a window
      }
      break;
    }
    default:
      break;
  }
  return false;
}

}  // namespace tavelo::ui
