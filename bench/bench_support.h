#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <sqlite3.h>
#include <thread>
#include <vector>

namespace pigmora::bench {

// Samples of one measurement.
class Stats {
public:
    void add(double value) { values_.push_back(value); }
    double median() const {
        std::vector<double> v = values_;
        std::sort(v.begin(), v.end());
        if (v.empty())
            return 0;
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    }
    double min() const {
        return values_.empty() ? 0 : *std::min_element(values_.begin(), values_.end());
    }
    double max() const {
        return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end());
    }
    // "median | min | max" for a table row.
    QString row(int decimals = 1) const {
        return QStringLiteral("%1 | %2 | %3")
            .arg(median(), 0, 'f', decimals)
            .arg(min(), 0, 'f', decimals)
            .arg(max(), 0, 'f', decimals);
    }

private:
    std::vector<double> values_;
};

template <typename F> double timeMs(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

inline QString cpuModel() {
    QFile f(QStringLiteral("/proc/cpuinfo"));
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    return QStringLiteral("unknown CPU");
}

// The machine a table was measured on: nproc, CPU model and date.
inline QString machine() {
    return QStringLiteral("Machine: %1 cores (nproc), %2; %3")
        .arg(std::thread::hardware_concurrency())
        .arg(cpuModel(), QDateTime::currentDateTime().toString(Qt::ISODate));
}

// Adds `schemes` records to an existing scheme file in one transaction, the i-th named
// "Farbschema <number(i)>" with channels that vary with i. False when the file refused them.
template <typename Number> bool fillSchemeFile(const QString& path, int schemes, Number number) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Farbtabelle VALUES (?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (int i = 0; i < schemes; ++i) {
        const QByteArray name = QStringLiteral("Farbschema %1").arg(number(i)).toUtf8();
        sqlite3_bind_text(insert, 1, name.constData(), -1, SQLITE_TRANSIENT);
        for (int c = 2; c <= 7; ++c)
            sqlite3_bind_int(insert, c, (i * c) % 256);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// The arguments of the benchmarks run in one process: <results dir> [count]. Empty, once the
// usage is printed, when the folder is missing.
struct Arguments {
    QString results;
    int count;
};
inline std::optional<Arguments> arguments(const QStringList& args, const char* countName,
                                          int fallback) {
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s <results dir> [%s]\n",
                     qPrintable(args.value(0, QStringLiteral("bench"))), countName);
        return std::nullopt;
    }
    return Arguments{args[1], args.size() > 2 ? args[2].toInt() : fallback};
}

inline void writeResult(const QString& dir, const QString& name, const QString& table) {
    QDir().mkpath(dir);
    QFile out(QDir(dir).filePath(name));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(table.toUtf8());
}

} // namespace pigmora::bench
