#pragma once
// Starts the search of a page (symmetry, pattern) on its own thread: cubes and the end reach
// the page on the GUI thread through events, and are dropped if the page is gone by then.
#include <QPointer>

#include "platform/events.hpp"
#include "searches/search_worker.hpp"

namespace tx::ui {

template <class Page>
void startPageSearch(SearchWorker& search, Events& events, Page* page, void (Page::*found)(const FaceletCube&),
                     void (Page::*ended)()) {
    const QPointer<Page> self(page);
    search.start(
        &events,
        [self, found](const FaceletCube& cube) {
            if (self) (self.data()->*found)(cube);
        },
        [self, ended](bool) {
            if (self) (self.data()->*ended)();
        });
}

}  // namespace tx::ui
