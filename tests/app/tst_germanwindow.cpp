#include "TestEnvironment.h"

#include "ConnectionState.h"
#include "MainWindow.h"
#include "Translations.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

namespace {

QStringList menuTexts(MainWindow& window) {
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions()) {
        if (menu->isSeparator() || !menu->menu())
            continue;
        QStringList items;
        for (QAction* item : menu->menu()->actions())
            items << (item->isSeparator() ? QStringLiteral("|") : item->text());
        menus << menu->text() + QStringLiteral(": ") + items.join(QStringLiteral(", "));
    }
    return menus;
}

QStringList cutOffTextsNow(MainWindow& window);

// Labels and buttons narrower than their text show it cut off; German texts run about a third
// longer than English ones, and some widths in the window are fixed. Every connection state
// (each has its status text and panel) and every page of the settings is looked at in turn.
QStringList cutOffTexts(MainWindow& window) {
    QStringList cut;
    for (int s = ConnectionState::StatusUnknown; s <= ConnectionState::RestoringFactoryDefaults; ++s) {
        ConnectionState::instance()->setState(ConnectionState::State(s));
        for (const QString& text : cutOffTextsNow(window)) {
            if (!cut.contains(text))
                cut << text;
        }
    }
    return cut;
}

QStringList cutOffTextsNow(MainWindow& window) {
    QStringList cut;
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    for (int page = 0; page < (tabs ? tabs->count() : 1); ++page) {
        if (tabs)
            tabs->setCurrentIndex(page);
        QApplication::processEvents();
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisible())
                continue;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                if (label->wordWrap() || !label->pixmap(Qt::ReturnByValue).isNull())
                    continue;
                text = label->text();
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                text = button->text();
            }
            if (text.trimmed().isEmpty())
                continue;
            if (widget->width() < widget->minimumSizeHint().width())
                cut << QStringLiteral("%1 \"%2\": %3 < %4 px")
                           .arg(widget->objectName(), text)
                           .arg(widget->width())
                           .arg(widget->minimumSizeHint().width());
        }
    }
    return cut;
}

} // namespace

class TestGermanWindow : public QObject {
    Q_OBJECT

private slots:
    // The desktop's usual font (the offscreen platform's own default is larger).
    void initTestCase() { QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9)); }

    void germanWindow() {
        // As main() does for a user whose system speaks German.
        const QLocale german(QLocale::German, QLocale::Germany);
        QLocale::setDefault(german);
        const QStringList loaded =
            Translations::install(*qApp, german, TestSupport::binDir() + QStringLiteral("/translations"));
        QCOMPARE(loaded.size(), 2);
        QVERIFY2(loaded.at(0).endsWith(QLatin1String("qtbase_de.qm")), qPrintable(loaded.at(0)));
        QVERIFY2(loaded.at(1).endsWith(QLatin1String("lumetto-keypad_de.qm")), qPrintable(loaded.at(1)));
        // Qt's standard buttons come from Qt's own translation.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));

        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Lumetto Keypad Effect Manager"));
        QCOMPARE(menuTexts(window),
                 QStringList({QStringLiteral("&Datei: |, Konfigurationsdatei &laden..., Konfigurationsdatei "
                                             "&speichern..., |, &Beenden"),
                              QStringLiteral("&Bearbeiten: Ausschneiden, Kopieren, Einfügen, Löschen, |, Alles "
                                             "auswählen"),
                              QStringLiteral("&Gerät: Gerät suchen, Werkseinstellungen wiederherstellen"),
                              QStringLiteral("&Ansicht: Einstellungen, Vorschau"),
                              QStringLiteral("&Hilfe: Handbuch, |, Aktualisierung..., |, Ü&ber")}));
        auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QVERIFY(tabs);
        QStringList pages;
        for (int i = 0; i < tabs->count(); ++i)
            pages << tabs->tabText(i);
        QCOMPARE(pages, QStringList({QStringLiteral("Szeneneinstellungen"), QStringLiteral("Systemkonfiguration"),
                                     QStringLiteral("Netzwerk")}));

        const QStringList cut = cutOffTexts(window);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("\n"))));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestGermanWindow, "tst_germanwindow", QApplication)
#include "tst_germanwindow.moc"
