// pigmora-schemes audit: every text of a web page judged on the pixels Chromium draws.

#include "base/german_locale.h"
#include "command_support.h"
#include "commands.h"
#include "exchange/file_reasons.h"
#include "page_audit/audit_report.h"
#include "page_audit/audit_sources.h"
#include "page_audit/chromium_session.h"
#include "version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>

namespace pigmora {

namespace {

std::atomic<int> stopSignal{0};

extern "C" void noteStopSignal(int signal) {
    stopSignal.store(signal);
}

// SIGINT and SIGTERM stop the audit (the browser is ended and its profile removed) and are
// raised again afterwards, so the caller sees how the command ended.
class StopSignals {
public:
    StopSignals() {
        struct sigaction action {};
        action.sa_handler = noteStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: a waiting poll() returns at once
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~StopSignals() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    static bool received() { return stopSignal.load() != 0; }
    // Ends the process by the signal received, as if it had never been caught.
    static void raiseAgain() {
        const int signal = stopSignal.exchange(0);
        if (signal == 0)
            return;
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

class CommandProgress : public AuditProgress {
public:
    bool stopRequested() const override { return StopSignals::received(); }
};

// The picture of the n-th rendering: the name given for the first, "-2", "-3" before the
// suffix for the others.
QString imageName(const QString& given, int index) {
    if (index == 0)
        return given;
    const QFileInfo info(given);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return QDir(info.path())
        .filePath(info.completeBaseName() + QStringLiteral("-%1").arg(index + 1) + suffix);
}

} // namespace

std::optional<QString> readAuditOptions(const QCommandLineParser& parser, AuditCall& call) {
    const auto value = [&parser](const char* name) {
        return parser.value(QString::fromLatin1(name));
    };
    const auto isSet = [&parser](const char* name) {
        return parser.isSet(QString::fromLatin1(name));
    };
    call.format = isSet(option::format) ? value(option::format).toLower() : QStringLiteral("text");
    if (!QStringList{QStringLiteral("text"), QStringLiteral("json"), QStringLiteral("sarif"),
                     QStringLiteral("html")}
             .contains(call.format))
        return QStringLiteral(
                   "Das Format „%1“ gibt es nicht; möglich sind text, json, sarif und html.")
            .arg(value(option::format));
    if (isSet(option::scheme)) {
        const QString scheme = value(option::scheme).toLower();
        call.light = scheme == QLatin1String("light") || scheme == QLatin1String("both");
        call.dark = scheme == QLatin1String("dark") || scheme == QLatin1String("both");
        if (!call.light && !call.dark)
            return QStringLiteral(
                       "Das Farbschema „%1“ gibt es nicht; möglich sind light, dark und both.")
                .arg(value(option::scheme));
    }
    if (isSet(option::vision)) {
        if (const auto v = visionFromKey(value(option::vision)))
            call.vision = int(*v);
        else
            return QStringLiteral("Die Farbsehschwäche „%1“ gibt es nicht; möglich sind protan, "
                                  "deutan, tritan und achroma.")
                .arg(value(option::vision));
    }
    const auto number = [&](const char* name, int low, int high, int& into,
                            const QString& what) -> std::optional<QString> {
        if (!isSet(name))
            return std::nullopt;
        bool ok = false;
        const int n = value(name).toInt(&ok);
        if (!ok || n < low || n > high)
            return QStringLiteral("%1 „%2“ ist keine ganze Zahl von %3 bis %4.")
                .arg(what, value(name), germanNumber(low), germanNumber(high));
        into = n;
        return std::nullopt;
    };
    if (auto problem = number(option::width, 200, 7680, call.width, QStringLiteral("Die Breite")))
        return problem;
    if (auto problem =
            number(option::timeout, 1, 3600, call.timeoutSeconds, QStringLiteral("Die Zeit")))
        return problem;
    if (isSet(option::minimum)) {
        const QString level = value(option::minimum).toLower();
        if (level != QLatin1String("aa") && level != QLatin1String("aaa"))
            return QStringLiteral("Die Stufe „%1“ gibt es nicht; möglich sind aa und aaa.")
                .arg(value(option::minimum));
        call.enhanced = level == QLatin1String("aaa");
    }
    call.image = value(option::image);
    if (isSet(option::image) && call.image.isEmpty())
        return QStringLiteral("Nach --image fehlt der Name des Bildes.");
    call.browser = value(option::browser);
    if (isSet(option::browser) && call.browser.isEmpty())
        return QStringLiteral("Nach --browser fehlt der Pfad des Browsers.");
    call.allowNetwork = isSet(option::allowNetwork);
    return std::nullopt;
}

int runAudit(const CommandLine& line, ToolOutput& output) {
    const AuditCall& call = line.audit;
    auto found = pageSources(call.sources);
    if (auto* message = std::get_if<QString>(&found))
        return fail(output, ToolCommand::Audit, *message);
    const auto& sources = std::get<std::vector<PageSource>>(found);

    std::vector<PageScheme> schemes;
    if (call.light)
        schemes.push_back(PageScheme::Light);
    if (call.dark)
        schemes.push_back(PageScheme::Dark);
    AuditNeeds needs;
    needs.level = call.enhanced ? WcagLevel::AAA : WcagLevel::AA;
    needs.cropLimit = call.format == QLatin1String("html") ? 500 : 0;

    // The browser's helpers that outlive their parent come to us, not to init, which in a
    // container may never reap them.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::vector<PageAuditResult> results;
    QString failure;
    {
        StopSignals stopSignals;
        CommandProgress progress;
        ChromiumSession session(call.browser, [] { return StopSignals::received(); });
        try {
            for (const PageSource& source : sources)
                for (PageScheme scheme : schemes) {
                    RenderSettings settings;
                    settings.scheme = scheme;
                    if (call.vision >= 0)
                        settings.vision = VisionDeficiency(call.vision);
                    settings.width = call.width;
                    settings.allowNetwork = call.allowNetwork;
                    settings.timeoutSeconds = call.timeoutSeconds;
                    QSaveFile image(imageName(call.image, int(results.size())));
                    if (!call.image.isEmpty()) {
                        if (!image.open(QIODevice::WriteOnly))
                            throw AuditError(
                                AuditError::Kind::Source,
                                QStringLiteral("Das Bild „%1“ kann nicht geschrieben werden: %2")
                                    .arg(QDir::toNativeSeparators(image.fileName()),
                                         fileErrorReason(errno, image.error())));
                        needs.image = &image;
                    }
                    try {
                        results.push_back(auditPage(session, source, settings, needs, progress));
                    } catch (const AuditError& e) {
                        if (e.kind() != AuditError::Kind::Source || !needs.image)
                            throw;
                        throw AuditError(
                            AuditError::Kind::Source,
                            QStringLiteral("Das Bild „%1“ kann nicht geschrieben werden: %2")
                                .arg(QDir::toNativeSeparators(image.fileName()),
                                     fileErrorReason(errno, image.error())));
                    }
                    if (needs.image) {
                        if (!image.commit())
                            throw AuditError(
                                AuditError::Kind::Source,
                                QStringLiteral("Das Bild „%1“ kann nicht geschrieben werden: %2")
                                    .arg(QDir::toNativeSeparators(image.fileName()),
                                         fileErrorReason(errno, image.error())));
                        output.message(QStringLiteral("Bild: %1")
                                           .arg(QDir::toNativeSeparators(image.fileName())));
                        needs.image = nullptr;
                    }
                    output.message(auditSummary(results.back()));
                }
        } catch (const AuditError& e) {
            failure = e.message();
        }
    } // the browser is ended and its profile removed here
    // Its helpers were handed to us when the browser ended; none is left a zombie.
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    if (!failure.isEmpty()) {
        output.message(QStringLiteral("pigmora-schemes: ") + failure);
        output.finish();
        StopSignals::raiseAgain();
        return int(ToolExit::Failed);
    }
    if (call.format == QLatin1String("json"))
        output.write(auditJson(results));
    else if (call.format == QLatin1String("sarif"))
        output.write(auditSarif(results, QStringLiteral(PIGMORA_VERSION)));
    else if (call.format == QLatin1String("html"))
        output.write(auditHtml(results));
    else if (const QString text = auditText(results); !text.isEmpty())
        output.line(text);
    const bool failed = std::any_of(results.begin(), results.end(), [](const PageAuditResult& r) {
        return r.count(TextVerdict::Fail) > 0;
    });
    return int(failed ? ToolExit::Refused : ToolExit::Done);
}

} // namespace pigmora
