// The views' Qt Quick tests (tst_*.qml beside this file), headless. Each test
// file gets its own engine and with it a fresh `Fixture` (see ViewFixture).

#include "orvel/shell/ShellEnvironment.h"
#include "orvel/shell/SymbolImageProvider.h"
#include "tests/orvel/shell/views/ViewFixture.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>
#include <cstdlib>

Q_IMPORT_QML_PLUGIN(OrvelPlugin)

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libdbus-1\nleak:libQt6\nleak:libglib-2.0\n";
}

class ViewsSetup : public QObject {
    Q_OBJECT
public slots:
    void applicationAvailable() {
        qmlRegisterSingletonType<OrvelTest::ViewFixture>(
            "OrvelTest", 1, 0, "Fixture",
            [](QQmlEngine*, QJSEngine*) -> QObject* { return new OrvelTest::ViewFixture; });
    }
    void qmlEngineAvailable(QQmlEngine* engine) {
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->addImageProvider(QStringLiteral("symbol"), new Orvel::SymbolImageProvider);
    }
};

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_QUICK_BACKEND", "software", 0);
    Orvel::ShellEnvironment::prepareHeadless();
    ViewsSetup setup;
    return quick_test_main_with_setup(argc, argv, "views", ORVEL_VIEWS_TEST_DIR, &setup);
}

#include "ViewsTestMain.moc"
