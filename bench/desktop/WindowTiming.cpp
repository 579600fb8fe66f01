// Times the main window on a large log, offscreen: how often the status text changes and
// events are handled during a load, how soon Esc ends a load, the redraw of a spin step,
// a Monotone click and a Pixels change, and Recount next to CountFixes run headless on
// the same log.
// Run: build/window_timing LOG   (e.g. a 1,000,000-epoch log from build/loggen)

#include "app/GraphCommands.h"
#include "app/LogLoading.h"
#include "app/Program.h"
#include "app/Recount.h"
#include "desktop/MainWindow.h"
#include "platform/HeadlessPlatform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace fixtally;

namespace {

double Ms(qint64 ns) {
    return double(ns) / 1e6;
}

double MaxGapMs(const std::vector<qint64>& times) {
    qint64 gap = 0;
    for (std::size_t i = 1; i < times.size(); ++i) gap = std::max(gap, times[i] - times[i - 1]);
    return Ms(gap);
}

double MedianMs(std::vector<qint64> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : Ms(samples[samples.size() / 2]);
}

qint64 ThreadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Wall-clock times of each run of action with the repaint of what it changed; the
// processor time of the window thread goes to cpu, which other loads of a shared
// machine disturb less.
template <typename Action>
std::vector<qint64> Repeat(int times, Action action, std::vector<qint64>* cpu = nullptr) {
    std::vector<qint64> samples;
    QElapsedTimer clock;
    for (int i = 0; i < times; ++i) {
        const qint64 cpuStart = ThreadCpuNs();
        clock.start();
        action(i);
        QCoreApplication::processEvents();
        samples.push_back(clock.nsecsElapsed());
        if (cpu) cpu->push_back(ThreadCpuNs() - cpuStart);
    }
    return samples;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_timing LOG\n");
        return 2;
    }
    const QString log = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir folder;
    TFormMain window({}, folder.filePath("timing.ini").toStdString());
    window.show();
    window.FormActivate();
    auto* panel = window.findChild<QLabel*>("StatusBar1Panel0");

    // Load: when the status text changes and when events are handled, as seen from a
    // zero-delay timer (it runs whenever the load lets events through).
    std::vector<qint64> handled, reading, changed;
    QStringList texts;
    QString last;
    QElapsedTimer clock;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        handled.push_back(now);
        if (panel->text() != last) {
            last = panel->text();
            changed.push_back(now);
            texts << last;
            if (last.contains("Reading (")) reading.push_back(now);
        }
    });
    sampler.start(0);
    clock.start();
    window.FormDropFiles({log});
    const qint64 loadNs = clock.nsecsElapsed();
    sampler.stop();
    std::printf("load: %.0f ms, %s\n", Ms(loadNs), qPrintable(panel->text()));
    std::printf("  events handled %zu times, longest gap %.1f ms\n", handled.size(),
                MaxGapMs(handled));
    std::printf("  status text changed %zu times (%zu in the read pass), longest gap between "
                "changes in the read pass %.1f ms, overall %.1f ms\n",
                changed.size(), reading.size(), MaxGapMs(reading), MaxGapMs(changed));
    for (std::size_t i = 1; i < changed.size(); ++i)
        if (Ms(changed[i] - changed[i - 1]) > 100)
            std::printf("  %.0f ms showing \"%s\" before \"%s\"\n", Ms(changed[i] - changed[i - 1]),
                        qPrintable(texts[int(i) - 1]), qPrintable(texts[int(i)]));

    // Esc at several moments of a load: from the moment the key is due to the end of the load.
    for (int at : {100, 300, 600, 900}) {
        qint64 pressed = -1;
        QTimer esc;
        esc.setSingleShot(true);
        esc.setTimerType(Qt::PreciseTimer);
        QObject::connect(&esc, &QTimer::timeout, [&] {
            pressed = clock.nsecsElapsed();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &press);
        });
        clock.start();
        esc.start(at);
        const qint64 due = qint64(at) * 1000000;
        window.FormDropFiles({log});
        const qint64 end = clock.nsecsElapsed();
        esc.stop();
        if (pressed < 0) {
            std::printf("esc at %d ms: the load ended first (%.0f ms)\n", at, Ms(end));
            QCoreApplication::processEvents();
            continue;
        }
        std::printf("esc due at %d ms: handled after %.1f ms, load ended %.1f ms after it "
                    "was due (%s)\n",
                    at, Ms(pressed - due), Ms(end - due), qPrintable(panel->text()));
    }

    window.FormDropFiles({log});
    std::printf("reloaded: %s\n", qPrintable(panel->text()));
    auto* down = window.findChild<QToolButton*>("SpinButton1Down");
    auto* up = window.findChild<QToolButton*>("SpinButton1Up");
    auto* mono = window.findChild<QCheckBox*>("CheckBoxMono");
    auto* pixels = window.findChild<QComboBox*>("ComboBoxPixels");
    auto* recount = window.findChild<QAction*>("Recount");

    std::vector<qint64> spinCpu, monotoneCpu, dotsCpu;
    const auto spin = Repeat(
        10, [&](int i) { (i % 2 ? up : down)->click(); }, &spinCpu);
    const auto monotone = Repeat(
        10, [&](int) { mono->click(); }, &monotoneCpu);
    const auto dots = Repeat(
        10, [&](int i) { pixels->setCurrentText(i % 2 ? "9" : "16"); }, &dotsCpu);
    auto report = [](const char* what, const std::vector<qint64>& wall,
                     const std::vector<qint64>& cpu) {
        std::printf("%s: median %.1f ms, worst %.1f ms (window thread processor time: median "
                    "%.1f ms)\n",
                    what, MedianMs(wall), Ms(*std::max_element(wall.begin(), wall.end())),
                    MedianMs(cpu));
    };
    report("spin step", spin, spinCpu);
    report("Monotone click", monotone, monotoneCpu);
    report("Pixels change", dots, dotsCpu);

    // CountFixes on the same log without a window, turn about with Recount in the window.
    HeadlessPlatform headless;
    Program program(headless);
    program.Log.LogFileName = log.toStdString();
    LoadLogFile(program);
    std::vector<qint64> recounts, counts;
    for (int i = 0; i < 5; ++i) {
        recounts.push_back(Repeat(1, [&](int) { recount->trigger(); }).front());
        counts.push_back(Repeat(1, [&](int) { CountFixes(program); }).front());
    }
    std::vector<qint64> redrawCpu;
    const auto redraws = Repeat(
        10, [&](int) { RedrawScatterGraph(program); }, &redrawCpu);
    std::printf("RedrawScatterGraph headless (the core's part of each redraw): median %.1f ms "
                "(processor time %.1f ms)\n",
                MedianMs(redraws), MedianMs(redrawCpu));
    std::printf("Recount in the window: median %.1f ms; CountFixes headless: median %.1f ms; "
                "ratio %.2f\n",
                MedianMs(recounts), MedianMs(counts), MedianMs(recounts) / MedianMs(counts));
    const auto refresh = Repeat(1, [&](int) {
        for (int i = 0; i < 1000; ++i) window.ShowModel();
    });
    std::printf("ShowModel with nothing changed: %.1f us a call\n", Ms(refresh.front()));
    window.close();
    return 0;
}
