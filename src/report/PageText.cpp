#include "report/PageText.h"

namespace {

// Long enough for any name the programs write; a longer one is still unique by its counter.
constexpr qsizetype longestSlug = 80;

bool allowedInXml(char16_t c)
{
    if (c < 0x20)
        return c == u'\t' || c == u'\n' || c == u'\r';
    return c != 0xFFFE && c != 0xFFFF;
}

bool allowedInId(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'-' || u == u'_' ||
           u == u'.';
}

QString slugOf(const QString& name)
{
    QString slug;
    for (QChar c : name.left(longestSlug))
        slug += allowedInId(c) ? c : QLatin1Char('_');
    return slug.isEmpty() ? QStringLiteral("file") : slug;
}

}  // namespace

namespace PageText {

const char* const styleSheet =
    "body{font-family:'DejaVu Sans',Arial,Helvetica,sans-serif;margin:2em;color:#222}"
    "figure svg text{font-family:'DejaVu Sans',Arial,Helvetica,sans-serif}"
    "td.number,th{white-space:nowrap}"
    "table{border-collapse:collapse;margin:1em 0}"
    "th,td{border:1px solid #bbb;padding:0.3em 0.6em}td.number{text-align:right}"
    "th{background:#eee}pre{background:#f6f6f6;padding:1em}"
    // Half the width less the margins, but never narrower than a chart can be read at: a narrow
    // window or a printed page stacks them.
    "figure{display:inline-block;vertical-align:top;box-sizing:border-box;width:calc(50% - 1em);min-width:30em;"
    "margin:0.5em}"
    "figure svg{width:100%;height:auto}"
    ".problem{color:#a00}.warning{color:#850;font-weight:bold}";

QString escaped(const QString& text)
{
    QString clean = text;
    for (QChar& c : clean)
        if (!allowedInXml(c.unicode()))
            c = QChar::ReplacementCharacter;
    return clean.toHtmlEscaped();
}

QString escaped(const std::string& text)
{
    // Bytes that are not UTF-8 become U+FFFD here.
    return escaped(QString::fromStdString(text));
}

}  // namespace PageText

PageIds::PageIds(std::initializer_list<const char*> fixed)
{
    for (const char* id : fixed)
        taken.insert(QString::fromLatin1(id));
}

QString PageIds::claim(const QString& name)
{
    const QString slug = slugOf(name);
    QString id = slug;
    for (int counter = 2; taken.contains(id); ++counter)
        id = slug + QLatin1Char('-') + QString::number(counter);
    taken.insert(id);
    return id;
}
