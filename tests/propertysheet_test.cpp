#include <windows.h>
#include <string>
#include "DeviceFixture.h"
#include "SheetDriver.h"
#include "framework/PropertySheet.h"
#include "resources/resource.h"

namespace {

// A page of the framework's own on one of the program's templates: a number of 1..10 and a
// text of at most 5 characters in its two edit boxes, counting its initialisations and apply
// steps.
class CCountingPage : public CPropertyPage {
public:
    static constexpr int kNumber = IDC_REGISTRY_ENTRY_KEY;
    static constexpr int kText = IDC_REGISTRY_ENTRY_VALUE;

    CCountingPage() : CPropertyPage(IDD_REGISTRY_ENTRY) {}

    int m_nNumber = 1;
    std::wstring m_strText = L"abc";
    int m_nInits = 0;
    int m_nApplies = 0;

protected:
    bool OnInitDialog() override
    {
        ++m_nInits;
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(CDataExchange& dx) override
    {
        dx.Int(kNumber, m_nNumber, 1, 10);
        dx.Text(kText, m_strText, 5);
    }
    void OnApply() override { ++m_nApplies; }
};

class PropertySheetTest : public DeviceTest {
protected:
    PropertySheetTest()
    {
        for (CCountingPage& page : m_pages)
            m_sheet.AddPage(&page);
    }
    INT_PTR Run()
    {
        const INT_PTR result = m_sheet.DoModal();
        EXPECT_EQ(0u, m_driver.StepsLeft()) << "the sheet ended before every step ran";
        EXPECT_EQ(L"", m_driver.Abandoned()) << "sheets left open";
        return result;
    }
    void ExpectBox(size_t index, const std::wstring& text) const
    {
        ASSERT_LT(index, m_boxes.size()) << "boxes shown: " << m_boxes.size();
        EXPECT_EQ(text, m_boxes[index].text) << "box " << index;
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m_boxes[index].style) << "box " << index;
    }

    CCountingPage m_pages[3];
    CPropertySheet m_sheet{L"Sheet"};
    CSheetDriver m_driver;
};

}  // namespace

TEST_F(PropertySheetTest, PagesAreCreatedWhenFirstShownAndOnlyThoseApplyAfterOk)
{
    m_driver.Then([this](CPropertySheet& sheet) {
        EXPECT_EQ(0, sheet.GetActiveIndex());
        EXPECT_EQ(1, m_pages[0].m_nInits);
        EXPECT_EQ(nullptr, m_pages[1].GetSafeHwnd()) << "a page never shown has no window";
        CSheetDriver::Type(sheet, CCountingPage::kNumber, L"7");
        CSheetDriver::TapTab(sheet, 1);
        EXPECT_EQ(1, sheet.GetActiveIndex());
        EXPECT_EQ(1, m_pages[1].m_nInits);
        CSheetDriver::TapTab(sheet, 0);
        EXPECT_EQ(1, m_pages[0].m_nInits) << "a page shown again is not initialised again";
        EXPECT_EQ(L"7", CSheetDriver::Text(sheet, CCountingPage::kNumber));
        sheet.SendMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ(IDOK, Run());
    EXPECT_EQ(7, m_pages[0].m_nNumber);
    EXPECT_EQ(1, m_pages[0].m_nApplies);
    EXPECT_EQ(1, m_pages[1].m_nApplies);
    EXPECT_EQ(0, m_pages[2].m_nInits);
    EXPECT_EQ(0, m_pages[2].m_nApplies);
    EXPECT_TRUE(m_boxes.empty());
}

// Leaving a page checks its values (the page stays while one fails) and stores none: only OK
// does, so Cancel leaves what the page edits as it was.
TEST_F(PropertySheetTest, LeavingAPageChecksItsValuesAndCancelStoresNone)
{
    AnswerNextBox(IDOK);
    AnswerNextBox(IDOK);
    m_driver.Then([](CPropertySheet& sheet) {
        CSheetDriver::Type(sheet, CCountingPage::kNumber, L"7x");
        CSheetDriver::TapTab(sheet, 1);
        EXPECT_EQ(0, sheet.GetActiveIndex()) << "not a number";
        EXPECT_EQ(CSheetDriver::Control(sheet, CCountingPage::kNumber).GetSafeHwnd(), ::GetFocus());
        CSheetDriver::Type(sheet, CCountingPage::kNumber, L" 7 ");
        CSheetDriver::Type(sheet, CCountingPage::kText, L"abcdef");
        CSheetDriver::TapTab(sheet, 1);
        EXPECT_EQ(0, sheet.GetActiveIndex()) << "too long";
        EXPECT_EQ(CSheetDriver::Control(sheet, CCountingPage::kText).GetSafeHwnd(), ::GetFocus());
        CSheetDriver::Type(sheet, CCountingPage::kText, L"abcde");
        CSheetDriver::TapTab(sheet, 1);
        EXPECT_EQ(1, sheet.GetActiveIndex());
        sheet.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, Run());
    ASSERT_EQ(2u, m_boxes.size());
    ExpectBox(0, L"Please enter an integer.");
    ExpectBox(1, L"Please enter no more than 5 characters.");
    EXPECT_EQ(1, m_pages[0].m_nNumber);
    EXPECT_EQ(L"abc", m_pages[0].m_strText);
    EXPECT_EQ(0, m_pages[0].m_nApplies);
}
