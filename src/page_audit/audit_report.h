#pragma once

#include "page_audit.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The audit's results as the command writes them: German text, JSON with every number in full,
// SARIF 2.1.0 for code-scanning tools, and an HTML report page with each finding's crop.
namespace pigmora {

// "seite.html (dunkel, Protanopie)": the page and how it was rendered.
QString renderingName(const PageAuditResult& result);

// The lines of one finding in the text output (no line feed at the end).
QString findingText(const PageAuditResult& result, const TextFinding& finding);
// Every finding that does not pass, worst first, page by page.
QString auditText(const std::vector<PageAuditResult>& results);
// One line a rendering: what was judged and skipped, and the refused requests.
QString auditSummary(const PageAuditResult& result);

// The ratio range as shown: "4,49:1", or "2,85:1 bis 3,10:1".
QString ratioRangeText(const TextFinding& finding);

QByteArray auditJson(const std::vector<PageAuditResult>& results);
QByteArray auditSarif(const std::vector<PageAuditResult>& results, const QString& version);
QByteArray auditHtml(const std::vector<PageAuditResult>& results);

} // namespace pigmora
