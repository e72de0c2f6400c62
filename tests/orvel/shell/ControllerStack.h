#pragma once

// The tray's objects wired as the app wires them, over a paired ModelHarness:
// updater, activity window, theme, bridge and the menu-bar controller.

#include "orvel/shell/MenuBarController.h"
#include "tests/orvel/core/ModelHarness.h"
#include "tests/support/Records.h"

#include <memory>

namespace OrvelTest {

struct ControllerStack : ModelHarness {
    std::unique_ptr<Orvel::UpdaterController> updater;
    std::unique_ptr<Orvel::ExpandedActivityWindowController> expanded;
    Orvel::Theme theme{nullptr};
    std::unique_ptr<Orvel::ModelBridge> bridge;
    std::unique_ptr<Orvel::MenuBarController> controller;
    bool reduceMotion = false;
    std::string currentDesktop;

    ControllerStack() {
        paired();
        theme.setAppearance(Orvel::Appearance::light);
    }
    ~ControllerStack() {
        controller.reset();
        bridge.reset();
        expanded.reset();
    }

    Orvel::MenuBarController& make() {
        build();
        updater = std::make_unique<Orvel::UpdaterController>(nullptr, nullptr, executor);
        expanded = std::make_unique<Orvel::ExpandedActivityWindowController>(
            *model, *updater, executor, theme, *preferences);
        bridge = std::make_unique<Orvel::ModelBridge>(*model, executor, updater.get());
        controller = std::make_unique<Orvel::MenuBarController>(Orvel::MenuBarControllerServices{
            *model, *updater, *expanded, *bridge, theme, *preferences, executor,
            [this] { return reduceMotion; }, currentDesktop});
        return *controller;
    }

    // One sync bringing `notes` on channel "a", then the tray's update.
    void sync(std::vector<OrvelProtocol::Notification> notes) {
        service->answer("sync", OrvelProtocol::SyncResponse{{channelSync("a", std::move(notes))}});
        run(model->refresh());
        executor.runUntilIdle();
    }
};

} // namespace OrvelTest
