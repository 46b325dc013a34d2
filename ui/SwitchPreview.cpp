#include "ui/SwitchPreview.h"
#include "core/ModeSwitch.h"
#include "framework/ResourceString.h"
#include "framework/TextFile.h"
#include "platform/DevicePaths.h"
#include "resources/resource.h"
#include "state/SwitchRecord.h"
#include "ui/KeepModeDlg.h"
#include "ui/ReportDlg.h"

std::wstring GetPreviewReportPath()
{
    return platform::GetDocumentPath(L"Dorix Preview.txt");
}

std::vector<std::wstring> PreviewReport(CModeSwitch& modeSwitch, const CVideoMode& target, size_t& failures)
{
    const CVideoMode current = modeSwitch.GetCurrentMode();
    CSwitchRecord record;
    modeSwitch.Preview(target, record);
    std::vector<std::wstring> report = {FormatResourceString(
        IDS_PREVIEW_TITLE, {CKeepModeDlg::GetModeTitle(current), CKeepModeDlg::GetModeTitle(target)})};
    for (std::wstring& line : record.GetText())
        report.push_back(std::move(line));
    const size_t changes = record.CountOf(CSwitchRecord::Kind::change);
    failures = record.CountOf(CSwitchRecord::Kind::failure);
    report.push_back(changes == 0 && failures == 0
                         ? LoadResourceString(IDS_PREVIEW_NOTHING)
                         : FormatResourceString(IDS_PREVIEW_SUMMARY, {std::to_wstring(changes), std::to_wstring(failures)}));
    return report;
}

size_t PreviewSwitch(CModeSwitch& modeSwitch, const CVideoMode& target, bool show, HWND owner)
{
    size_t failures = 0;
    const std::vector<std::wstring> report = PreviewReport(modeSwitch, target, failures);
    WriteTextFile(GetPreviewReportPath(), report);
    if (show)
        CReportDlg(LoadResourceString(IDS_PREVIEW_REPORT), report, owner).DoModal();
    return failures;
}
