#pragma once

// Owns the expanded activity window for the life of the app: a normal,
// resizable top-level window "Orvel Activity" (in the task switcher, with the
// app's icon) hosting qml/ExpandedActivityView.qml over its view model. It
// opens at 1060 × 720 centred the first time and where the user left it
// afterwards (its frame is kept in the preferences). Closing hides it; while
// it shows, the updater counts the "activity" surface as visible.

#include "orvel/core/AppModel.h"
#include "orvel/core/Preferences.h"
#include "orvel/core/UpdaterController.h"

#include <QRect>
#include <memory>
#include <optional>

class QQuickView;
class QTimer;

namespace Orvel {

class ExpandedActivityModel;
class Theme;

class ExpandedActivityWindowController {
public:
    static constexpr int defaultWidth = 1060;
    static constexpr int defaultHeight = 720;
    static constexpr int minimumWidth = 780;
    static constexpr int minimumHeight = 520;
    // Where the frame is kept: the name, then ".x", ".y", ".width", ".height".
    static constexpr std::string_view frameKey = "OrvelActivityWindow";

    // Everything must outlive the controller. The window is made on the
    // first `open()`.
    ExpandedActivityWindowController(AppModel& model, UpdaterController& updater,
                                     OrvelKit::Executor& executor, Theme& theme,
                                     Preferences& preferences);
    ~ExpandedActivityWindowController();
    ExpandedActivityWindowController(const ExpandedActivityWindowController&) = delete;
    ExpandedActivityWindowController& operator=(const ExpandedActivityWindowController&) = delete;

    // Shows the window, brings it to the front and gives it focus; a first
    // showing begins a briefing session, as opening the panel does.
    void open();
    // Closes the window as its close button does.
    void close();
    bool isOpen() const { return open_; }
    // How many times the window was asked to open.
    int openCount() const { return openCount_; }

    // Null before the first `open()`.
    QQuickView* window() const { return window_.get(); }
    ExpandedActivityModel& viewModel() const { return *viewModel_; }

    // The frame kept in `preferences`, when one was kept and has at least the
    // minimum size.
    static std::optional<QRect> savedFrame(const Preferences& preferences);
    static void saveFrame(Preferences& preferences, QRect frame);

private:
    void makeWindow();
    void closed();

    AppModel& model_;
    UpdaterController& updater_;
    Theme& theme_;
    Preferences& preferences_;
    std::unique_ptr<ExpandedActivityModel> viewModel_;
    std::unique_ptr<QQuickView> window_;
    std::unique_ptr<QTimer> frameSettled_;
    bool open_ = false;
    int openCount_ = 0;
};

} // namespace Orvel
