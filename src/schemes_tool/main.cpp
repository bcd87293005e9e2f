// pigmora-schemes: the scheme file from the command line (see `pigmora-schemes --help`).

#include "parser_texts.h"
#include "schemes_tool.h"
#include "version.h"

#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A file that outgrows the size limit (ulimit -f) fails the write, which is told, instead
    // of ending the command halfway.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    // The program's name: it names the per-user directory that holds the scheme file.
    QCoreApplication::setApplicationName(QStringLiteral("Pigmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PIGMORA_VERSION));
    pigmora::GermanParserTexts parserTexts;
    QCoreApplication::installTranslator(&parserTexts);

    QFile in, out, err;
    // Read only by convert --stdin, in large blocks.
    in.open(0, QIODevice::ReadOnly | QIODevice::Unbuffered); // descriptor 0: standard input
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    pigmora::ToolOutput output(out, err);
    return pigmora::runSchemesTool(QCoreApplication::arguments(), output, &in);
}
