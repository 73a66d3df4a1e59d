#pragma once
// A main window on a fresh folder with scripted prompts and fake tables; started up (the
// tables "ready") unless asked otherwise.
#include <QAction>
#include <QPushButton>

#include <memory>

#include "fake_tables.hpp"
#include "ui/main_window.hpp"
#include "ui_tests.hpp"
#include "support/scripted_prompts.hpp"

namespace tx::ui::test {

struct WindowFixture {
    TempFolder folder;
    ScriptedPrompts prompts;
    FakeTables tables;
    std::unique_ptr<TForm1> form;

    explicit WindowFixture(bool startUp = true) {
        form = std::make_unique<TForm1>(TForm1::Options{folder.path(), &prompts, false, "", &tables});
        if (startUp) form->runStartUp();
    }

    QAction* item(const char* name) const {
        auto* a = form->findChild<QAction*>(name);
        if (!a) qWarning("missing menu item %s", name);
        return a;
    }
    template <class T = QPushButton>
    T* find(const char* name) const {
        T* w = form->findChild<T*>(name);
        if (!w) qWarning("missing component %s", name);
        return w;
    }
    // The controls the window disables while it loads tables.
    bool addButtonsEnabled() const {
        return find("ButtonAddSolve")->isEnabled() && find("ButtonAddGen")->isEnabled();
    }
};

}  // namespace tx::ui::test
