#pragma once

#include "core/kinds.h"

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace catalog {
class PartsDatabase;
}

namespace core {
struct PortraitSession;
}

namespace picker {

class PickerEnvironment;
class SelectForm;

// What outlives one opening of the picker.
struct PickerGlobals {
    core::PartKind CurrentKind = 0;  // the kind shown; kept after the picker closes
    std::int16_t RowsPerPart = 0;
    QString PickerDatabase;          // "ravoze.mdb" or "photo.mdb"
    // Left and top of the picker in twips when it was last closed; (0, 0) until then, which
    // places the first opening at its standard place.
    std::int16_t PickerPosLeft = 0;
    std::int16_t PickerPosTop = 0;
    // True from the end of the first fill until the window is closed.
    bool PickerOpen = false;
};

// The parts picker of the main window: opens SelectForm on a category, reopens it for every
// category change and remembers where it was. The main window owns one and wires its part
// toolbar to open(); the picker reaches the main window only through PickerEnvironment.
class Picker : public QObject {
    Q_OBJECT

public:
    // `owner` is the main window: the picker is a top-level window owned by it. `dataFolder`
    // holds the databases (AppPath).
    Picker(core::PortraitSession& session, PickerEnvironment& environment, QWidget* owner,
           QString dataFolder);
    ~Picker() override;

    // The editor's composition (EditForm::composePortrait), run after every change the
    // picker makes to the portrait.
    void setComposer(std::function<void()> compose) { compose_ = std::move(compose); }
    void compose() const;

    // OpenPicker: closes the picker if it is loaded, sets the kind, its rows and its
    // database, and shows the picker on it. The pairs' second halves open their first
    // halves. Anything that is not a kind does nothing.
    void OpenPicker(int kind);
    // A button key of the part toolbar or the category strip: the kind's category, or for
    // "moji" the text dialog (the picker is closed). False for an unknown key.
    bool openKey(QStringView key);
    // Closes the picker (its unload); nothing when it is not loaded.
    void closePicker();

    // Loaded: the window exists and is not closing. Open: loaded and filled.
    bool isLoaded() const;
    bool isOpen() const { return globals_.PickerOpen; }
    SelectForm* form() const;

    // After a composition made elsewhere (the editor, undo): the in-use borders again.
    void refreshMarks();

    PickerGlobals& globals() { return globals_; }
    const PickerGlobals& globals() const { return globals_; }
    core::PortraitSession& session() { return session_; }
    PickerEnvironment& environment() { return environment_; }
    const QString& dataFolder() const { return dataFolder_; }

    // The category pictures by strip position (1..21), drawn from the parts database once.
    QIcon categoryIcon(int icon);

signals:
    // The picker finished its first fill (tests and the main window wait for it).
    void filled();
    void closed();

private:
    friend class SelectForm;
    void formClosed(SelectForm* form);

    core::PortraitSession& session_;
    PickerEnvironment& environment_;
    QPointer<QWidget> owner_;
    QString dataFolder_;
    std::function<void()> compose_;
    PickerGlobals globals_;
    QPointer<SelectForm> form_;
    std::array<QIcon, 22> icons_;  // index = strip position; entry 0 unused
    bool iconsDrawn_ = false;
};

}  // namespace picker
