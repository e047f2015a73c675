#include "help/about_box.h"
#include "help/credits_banner.h"
#include "help/link_static.h"

#include "qt_test_support.h"

#include <QEnterEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace vistrel;
using vistrel::test::AcceptingMessageBoxes;

namespace {

void Enter(QWidget& widget)
{
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), widget.mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(&widget, &event);
}

void Leave(QWidget& widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&widget, &event);
}

void Click(QWidget& widget)
{
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

} // namespace

TEST(LinkStatic, EmptyTextShowsTheAddressAndTheTipIsTheAddress)
{
    QWidget parent;
    CLinkStatic link("", &parent, [](const QString&) { return 42; });
    link.SetURL("https://example.org/");
    EXPECT_EQ(link.text(), "https://example.org/");
    EXPECT_EQ(link.toolTip(), "https://example.org/");
    CLinkStatic named("Our site", &parent, [](const QString&) { return 42; });
    EXPECT_EQ(named.GetURL(), "Our site"); // no address yet: the text is one
    named.SetURL("https://example.org/x");
    EXPECT_EQ(named.text(), "Our site");
    EXPECT_EQ(named.toolTip(), "https://example.org/x");
    EXPECT_TRUE(named.font().underline());
    EXPECT_EQ(named.cursor().shape(), Qt::PointingHandCursor);
}

TEST(LinkStatic, FitsItsRectangleToTheTextOnItsAlignedSide)
{
    QWidget parent;
    parent.resize(400, 200);
    const QRect row(10, 20, 300, 40);
    for (Qt::Alignment align : {Qt::AlignLeft | Qt::AlignTop, Qt::AlignRight | Qt::AlignTop,
                                Qt::AlignHCenter | Qt::AlignVCenter}) {
        CLinkStatic link("Visit us", &parent, [](const QString&) { return 42; });
        link.setAlignment(align);
        link.setGeometry(row);
        link.SetURL("https://example.org/");
        const QSize text = link.fontMetrics().size(Qt::TextSingleLine, "Visit us");
        const QRect got = link.geometry();
        EXPECT_EQ(got.height(), (align & Qt::AlignVCenter) ? 40 - 2 * ((40 - text.height()) / 2) : text.height());
        if (align & Qt::AlignLeft) {
            EXPECT_EQ(got.left(), row.left());
            EXPECT_EQ(got.width(), text.width());
        } else if (align & Qt::AlignRight) {
            EXPECT_EQ(got.right(), row.right());
            EXPECT_EQ(got.width(), text.width());
            EXPECT_EQ(got.top(), row.top());
        } else {
            EXPECT_EQ(got.left() - row.left(), row.right() - got.right());
            EXPECT_EQ(got.top() - row.top(), row.bottom() - got.bottom());
        }
    }
}

TEST(LinkStatic, HoverAndVisitedColours)
{
    QWidget parent;
    QStringList opened;
    CLinkStatic link("site", &parent, [&](const QString& url) {
        opened << url;
        return 33;
    });
    link.SetURL("https://example.org/");
    EXPECT_EQ(link.TextColour(), QColor(0, 0, 238));
    Enter(link);
    EXPECT_TRUE(link.overLink());
    EXPECT_EQ(link.TextColour(), link.palette().color(QPalette::Active, QPalette::Highlight));
    Click(link);
    EXPECT_EQ(opened, QStringList{"https://example.org/"});
    EXPECT_TRUE(link.visited());
    Leave(link);
    EXPECT_FALSE(link.overLink());
    EXPECT_EQ(link.TextColour(), QColor(85, 26, 139));
    EXPECT_TRUE(link.styleSheet().contains("#551a8b")) << link.styleSheet().toStdString();
}

TEST(LinkStatic, AFailedOpeningSaysWhyAndLeavesTheLinkUnvisited)
{
    const std::pair<int, QString> failures[] = {
        {26, "Unable to open hyperlink:\n\nA sharing violation occurred. "},
        {1, "Unable to open hyperlink:\n\nUnknown Error (1) occurred."},
        {32, "Unable to open hyperlink:\n\nThe specified dynamic-link library was not found."}, // not yet success
    };
    for (const auto& [code, text] : failures) {
        QWidget parent;
        int calls = 0;
        CLinkStatic link("site", &parent, [&, code = code](const QString&) {
            ++calls;
            return code;
        });
        EXPECT_EQ(AcceptingMessageBoxes([&] { Click(link); }), text) << code;
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(link.visited());
        Leave(link);
        EXPECT_EQ(link.TextColour(), QColor(0, 0, 238));
    }
}

TEST(AboutBox, TwoLinksAndCreditsThatEndWithTheBox)
{
    CAboutDlg box(nullptr);
    EXPECT_EQ(box.windowTitle(), "About Vistrel");
    const auto links = box.findChildren<CLinkStatic*>();
    ASSERT_EQ(links.size(), 2);
    EXPECT_TRUE(links[0]->GetURL().startsWith("https://"));
    EXPECT_TRUE(links[1]->GetURL().startsWith("mailto:"));
    auto* banner = box.findChild<CCreditsBanner*>();
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->running());
    Enter(*banner);
    EXPECT_TRUE(banner->paused());
    Leave(*banner);
    EXPECT_FALSE(banner->paused());
    box.done(QDialog::Accepted);
    EXPECT_FALSE(banner->running());
}

TEST(AboutBox, DestroyedOpenItStillEndsTheCredits)
{
    // No hang and no drawing for a banner that is gone (the sanitizer build
    // would report a use after free).
    for (int i = 0; i < 5; ++i) {
        CAboutDlg box(nullptr);
        box.show();
        vistrel::test::WaitFor([] { return false; }, 60);
    }
}
