#pragma once
// Text from files, file names, folders and the command line made safe to put into the report
// pages, which are HTML and well-formed XML at once: escaped for element content and quoted
// attributes, and ids made from names that stay unique on the page.

#include <QSet>
#include <QString>

#include <string>

namespace PageText {

// Escapes markup characters; characters XML cannot hold (controls other than tab and line ends,
// U+FFFE, U+FFFF) become U+FFFD, so that a name is shown replaced rather than breaking the page.
QString escaped(const QString& text);
QString escaped(const std::string& text);

// The pages' one style: fonts every browser has (the charts' own "Sans Serif" is drawn with
// serifs by some), numbers that do not wrap, and two charts to a row where the page is wide.
extern const char* const styleSheet;

}  // namespace PageText

// The ids of one page. A name becomes an id of letters, digits, '-', '_' and '.', and a
// counter follows when that id is taken, so that two names never share an anchor.
class PageIds
{
public:
    // Reserves the page's own fixed ids.
    explicit PageIds(std::initializer_list<const char*> fixed = {});

    // A new id for `name`: the name itself when it is already a safe and unused id.
    QString claim(const QString& name);

private:
    QSet<QString> taken;
};
