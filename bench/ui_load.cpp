// How responsive the desktop window stays while many optimal searches run: a 10 ms timer
// counts its ticks and the longest gap between two ticks, over four windows of five seconds.
//   ui_load DATA_DIR [SEARCHES] [--nice]      (QT_QPA_PLATFORM=offscreen works)
// --nice runs the searches at the lowest nice value instead of the idle scheduling class.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cube/random.hpp"
#include "platform/prompts.hpp"
#include "solver/search_thread.hpp"
#include "tables/loader.hpp"
#include "ui/main_window.hpp"
#include "workspace/cube_list.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: ui_load DATA_DIR [SEARCHES] [--nice]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int searches = argc > 2 ? std::atoi(argv[2]) : 500;
    const bool nice = argc > 3 && std::string(argv[3]) == "--nice";
    tx::useIdleSchedulingForSearches(!nice);

    tx::AutoPrompts answers(tx::Answer::Yes);
    tx::ui::TForm1::Options options;
    options.dataFolder = folder;
    options.prompts = &answers;
    options.postStartUp = false;
    tx::ui::TForm1 form(options);
    form.runStartUp();  // loads the tables of DATA_DIR
    if (!form.tablesReady()) return 2;
    form.resize(1100, 700);
    form.show();

    tx::CubeList& list = form.list();
    list.isoCheck = false;
    tx::MersenneTwister rng(7);
    for (int i = 0; i < searches; ++i) {
        tx::Entry e;
        tx::randomCube(e.cube, rng);
        e.cube.centersCount = false;
        list.addCube(e, tx::AddRequest{});
    }
    list.selectAll();
    const int started = list.startSearchForSelected(true, 0);

    // Ticks and the longest gap in each of four 5-second windows.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 worst[4] = {};
    int ticks[4] = {};
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const int w = static_cast<int>(std::min<qint64>(now / 5000, 3));
        worst[w] = std::max(worst[w], now - last);
        last = now;
        ++ticks[w];
        if (now >= 20000) QCoreApplication::exit(0);  // not quit(): that would ask to save the list
    });
    timer.start();
    app.exec();
    std::printf("%d optimal searches (%s), 10 ms timer, per 5 s (500 ticks expected):", started,
                nice ? "nice 19" : "idle class");
    for (int w = 0; w < 4; ++w) std::printf("  %d ticks, longest gap %lld ms;", ticks[w], static_cast<long long>(worst[w]));
    std::printf("\n");
    list.stopSearchForSelected();
    std::fflush(stdout);
    std::_Exit(0);  // the searches stop on their own; no need to wait for 500 threads here
}
