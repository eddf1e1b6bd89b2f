// The settings window "Aquarium Settings": total, frame rate, the count of
// each species and the monitors' choices, laid out as on Windows, with the
// same rules for what OK takes.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QWidget>
#include <cstring>

#include "common/linux_log.h"
#include "draw/icons.h"
#include "draw/qt/qt_graphics.h"
#include "policy/settings_form.h"
#include "policy/window_placement.h"
#include "sim/creature_tables.h"
#include "ui/ui.h"

namespace {

struct SettingsForm {
  QWidget* window = nullptr;
  QLineEdit* total = nullptr;
  QLabel* allocated = nullptr;
  QComboBox* fpsMode = nullptr;
  QComboBox* monitors = nullptr;
  QCheckBox* scaleWithDpi = nullptr;
  QLineEdit* counts[kSpeciesCount] = {};
};

QFont PixelFont(int pixels, bool bold) {
  QFont font;
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* Label(QWidget* parent, const QString& text, QRect rect, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(rect);
  label->setFont(font);
  label->setStyleSheet("color: rgb(40, 60, 90);");
  return label;
}

// A number edit: digits only, as the Windows edits take them.
QLineEdit* NumberEdit(QWidget* parent, const QString& value, QRect rect, const QFont& font) {
  auto* edit = new QLineEdit(value, parent);
  edit->setGeometry(rect);
  edit->setFont(font);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
  return edit;
}

int Number(const QLineEdit* edit) {
  return ReadFormNumber(edit->text().toStdWString().c_str());
}

SettingsFormInput ReadInput(const SettingsForm& form) {
  SettingsFormInput input;
  input.totalFish = Number(form.total);
  for (int i = 0; i < kSpeciesCount; ++i) input.speciesCounts[i] = Number(form.counts[i]);
  input.fpsMode = form.fpsMode->currentIndex();
  input.monitors = form.monitors->currentIndex();
  input.scaleWithDpi = form.scaleWithDpi->isChecked() ? 1 : 0;
  return input;
}

QPixmap SpeciesTile(int species) {
  QImage image = draw::MakeQtImage(82, 54);
  {
    draw::Graphics g = draw::MakeQtGraphics(image);
    draw::DrawSpeciesTile(g, species, 82, 54);
  }
  return QPixmap::fromImage(image);
}

void Apply(LinuxApp& app, SettingsForm& form) {
  const FormOutcome outcome = ApplySettingsForm(
      ReadInput(form), app.settings,
      [&app] { return app.requests.settingsApplied ? app.requests.settingsApplied(app) : SaveResult{}; },
      WideFromUtf8(app.settingsPath),
      [](unsigned long error) { return WideFromUtf8(std::strerror(int(error))); });
  if (outcome.caption != nullptr) {
    QMessageBox::warning(form.window, QString::fromWCharArray(outcome.caption),
                         QString::fromStdWString(outcome.text));
  }
  if (outcome.close) form.window->close();
}

struct SettingsWindow : QWidget {
  LinuxApp* app = nullptr;
  SettingsForm form;

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      Apply(*app, form);  // OK is the default button
    } else if (event->key() == Qt::Key_Escape) {
      close();
    } else {
      QWidget::keyPressEvent(event);
    }
  }
};

void UpdateAllocated(SettingsForm& form) {
  form.allocated->setText(QString::fromStdWString(AllocatedLabelText(ReadInput(form))));
}

}  // namespace

void OpenSettingsWindow(LinuxApp& app) {
  UserInterface& ui = *app.ui;
  if (ui.settingsWindow) {
    ui.settingsWindow->raise();
    ui.settingsWindow->activateWindow();
    return;
  }
  auto* window = new SettingsWindow;
  window->app = &app;
  SettingsForm& form = window->form;
  form.window = window;
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint);
  window->setWindowTitle("Aquarium Settings");
  window->setWindowIcon(AppIcon());
  window->setFixedSize(1100, kSettingsClientHeight);
  const QFont fonts[kFormFontKinds] = {QFont(), PixelFont(kFormFontPixels[1], false),
                                       PixelFont(kFormFontPixels[2], true),
                                       PixelFont(kFormFontPixels[3], false)};
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  for (const FormField& field : SettingsFormLayout(app.settings)) {
    const QRect rect(field.x, field.y, field.width, field.height);
    const QFont& font = fonts[int(field.font)];
    const QString text = QString::fromStdWString(field.text);
    switch (field.control) {
      case FormControl::kLabel: {
        QLabel* label = Label(window, text, rect, font);
        if (field.role == FormRole::kAllocated) form.allocated = label;
        break;
      }
      case FormControl::kNumberEdit: {
        QLineEdit* edit = NumberEdit(window, text, rect, font);
        if (field.role == FormRole::kTotal) form.total = edit;
        if (field.role == FormRole::kSpeciesCount) form.counts[field.species] = edit;
        break;
      }
      case FormControl::kChoice: {
        auto* choice = new QComboBox(window);
        for (const std::wstring& item : field.items) choice->addItem(QString::fromStdWString(item));
        choice->setCurrentIndex(field.value);
        choice->setGeometry(rect.x(), rect.y(), rect.width(), 30);  // a closed list is one row high
        choice->setFont(font);
        (field.role == FormRole::kMonitors ? form.monitors : form.fpsMode) = choice;
        break;
      }
      case FormControl::kCheckBox:
        form.scaleWithDpi = new QCheckBox(text, window);
        form.scaleWithDpi->setGeometry(rect);
        form.scaleWithDpi->setFont(font);
        form.scaleWithDpi->setChecked(field.value != 0);
        form.scaleWithDpi->setStyleSheet("color: rgb(40, 60, 90);");
        break;
      case FormControl::kGroupBox:
        (new QGroupBox(text, window))->setGeometry(rect);
        break;
      case FormControl::kSpeciesIcon: {
        auto* icon = new QLabel(window);
        icon->setGeometry(rect);
        icon->setPixmap(SpeciesTile(field.species));
        break;
      }
      case FormControl::kButton:
      case FormControl::kDefaultButton: {
        auto* button = new QPushButton(text, window);
        button->setGeometry(rect);
        button->setFont(font);
        button->setDefault(field.control == FormControl::kDefaultButton);
        (field.role == FormRole::kOk ? ok : cancel) = button;
        break;
      }
    }
  }

  QObject::connect(ok, &QPushButton::clicked, [&app, window] { Apply(app, window->form); });
  QObject::connect(cancel, &QPushButton::clicked, window, &QWidget::close);
  QObject::connect(form.total, &QLineEdit::textChanged, [window] { UpdateAllocated(window->form); });
  for (QLineEdit* edit : form.counts) {
    QObject::connect(edit, &QLineEdit::textChanged, [window] { UpdateAllocated(window->form); });
  }
  UpdateAllocated(form);
  ui.settingsWindow = window;
  window->show();
  Log("[ui] settings window opened");
}
