// Filling the repair descriptions view against building its sorted list
// alone: the display order and every description read through the records,
// with no widget. Offscreen; the argument is the number of descriptions.

#include "frRepairs.h"
#include "kvxLang.h"
#include "kvxStreamFile.h"
#include "vdrApplication.h"
#include "vdrBenchRatios.h"
#include "vdrDatabaseTables.h"
#include "vdrFormatSettings.h"
#include "vdrRepairs.h"

#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// An open database whose repair table holds `count` descriptions made of a
// few words each, in no order, some of them equal but for letter case.
class TBenchRepairs {
public:
    explicit TBenchRepairs(int count) {
        m_db.Open(m_dir.filePath(QStringLiteral("Vandor.dat")), false);
        BindTables(&m_db);
        static const char *const words[] = {"oil",   "filter", "brake",  "pads", "front", "rear",   "tyre",
                                            "wiper", "blade",  "belt",   "pump", "spark", "plug",   "hose",
                                            "light", "bulb",   "clutch", "seal", "valve", "sensor", "mount"};
        constexpr unsigned wordCount = sizeof(words) / sizeof(words[0]);
        unsigned seed = 4711;
        const auto next = [&seed](unsigned range) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % range;
        };
        for (int i = 0; i < count; ++i) {
            QString text = QString::fromLatin1(words[next(wordCount)]);
            text[0] = text[0].toUpper();
            for (unsigned w = 1 + next(3); w > 0; --w)
                text += QLatin1Char(' ') + QLatin1String(words[next(wordCount)]);
            if (next(4) != 0)
                text += QStringLiteral(" %1").arg(next(100000));
            Repairs().AddRepair(text, false);
        }
        Repairs().BuildOrder(false);
    }
    ~TBenchRepairs() {
        UnbindTables();
        m_db.Close();
    }

private:
    QTemporaryDir m_dir;
    TkvxStreamFile m_db;
};

QList<QIcon> SortImages() {
    QList<QIcon> images;
    for (int i = 0; i < 2; ++i) {
        QPixmap pixmap(12, 12);
        pixmap.fill(Qt::lightGray);
        images.append(QIcon(pixmap));
    }
    return images;
}

// The view as the main window shows it, filled and laid out.
void BM_LoadRepairs(benchmark::State &state) {
    TBenchRepairs repairs(int(state.range(0)));
    TfraRepairs view;
    view.resize(600, 800);
    view.show();
    view.SetSortImages(SortImages());
    QCoreApplication::processEvents();
    for (auto _ : state) {
        view.LoadRepairs();
        QCoreApplication::processEvents();
    }
}

void BM_RepairsOrder(benchmark::State &state) {
    TBenchRepairs repairs(int(state.range(0)));
    for (auto _ : state) {
        Repairs().BuildOrder(false);
        qsizetype characters = 0;
        for (int position = 0; position < Repairs().OrderCount(); ++position)
            characters += Repairs().Description(Repairs().RepairNbrAt(position)).size();
        benchmark::DoNotOptimize(characters);
    }
}

#define VANDOR_SIZES ->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_LoadRepairs) VANDOR_SIZES;
BENCHMARK(BM_RepairsOrder) VANDOR_SIZES;

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    TvdrApplication app(argc, argv);
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    Lang().LoadFromFile(QStringLiteral(VANDOR_BIN_DIR "/vdrLang.dat"));
    PairWith("BM_LoadRepairs", "BM_RepairsOrder");
    return RunBenchmarksWithRatios(argc, argv);
}
