#include "base/report_text.h"

#include <gtest/gtest.h>

#include "base/hijack_text.h"
#include "base/reg_script.h"

using namespace tavrin;

// Every text is checked by the report fuzzer (no markup, one field, one line); here the exact forms.
TEST(ReportEscaping, HostileTextsStayTextInFieldsAndEntriesAndRowsKeepTheirColumns) {
  EXPECT_EQ(htmlText("<script>alert('1')</script> & \"x\""),
            "&lt;script&gt;alert(&#39;1&#39;)&lt;/script&gt; &amp; &quot;x&quot;");
  EXPECT_EQ(csvField("@SUM(A1),x"), "\"'@SUM(A1),x\"");
  EXPECT_EQ(textField("a\tb\r\nc"), "a b  c");
  ReportEntry e;
  e.name = "<script>alert(1)</script>";
  e.fileName = "a<b>.exe";
  e.copyright = "Acme, Inc. <b>";
  e.programPath = "C:\\x\\a<b>.exe";
  e.extras = {"Startup Type: <i>"};
  e.link = "http://h/?program=a'><script>";
  e.signer = "Acme <Signing>";
  const std::string html = htmlEntryHead(e, false) + htmlEntryBody(e);
  EXPECT_EQ(html.rfind("<li><b>&lt;script&gt;alert(1)&lt;/script&gt;</b>\r\n\t<ol>a&lt;b&gt;.exe&nbsp;", 0), 0u);
  EXPECT_EQ(htmlEntryHead(ReportEntry{}, false).rfind("<li><b>No Description available</b>", 0), 0u);
  EXPECT_NE(html.find("\tAcme, Inc. &lt;b&gt;<br>\r\n"), std::string::npos);
  EXPECT_NE(html.find("\tStartup Type: &lt;i&gt;<br>\r\n"), std::string::npos);
  EXPECT_NE(html.find("\tSigner:   Acme &lt;Signing&gt;<br>\r\n"), std::string::npos);
  EXPECT_NE(html.find("<A href='http://h/?program=a&#39;&gt;&lt;script&gt;'>"), std::string::npos);
  EXPECT_EQ(html.find("<br><br>"), std::string::npos);  // copyright counts as a detail line
  EXPECT_EQ(htmlEntryHead(e, true), "<li><b>a&lt;b&gt;.exe</b>\r\n\t<ol>\r\n");
  e = ReportEntry{"na\tme", "f.exe", "d\r\n", "1", "c", "loc", "C:\\f.exe", "", "", {}, "", "(Not\tsigned)"};
  const std::string row = textReportRow(e);
  EXPECT_EQ(row, "na me\tf.exe\td  \t1\tc\tloc\tC:\\f.exe\t(Not signed)\r\n");
  EXPECT_EQ(csvRowText({"HKCU", "Run", "A, B", "x,y.exe", "Acme, Inc.", "", "=cmd", "d", "1,0", "Acme, Ltd"}),
            "HKCU,Run,\"A, B\", x y.exe,Acme  Inc.,,'=cmd,d,1 0,\"Acme, Ltd\"\r\n");
  std::string type, sub;
  spreadsheetRunNames(25, type, sub);
  EXPECT_EQ(type + sub, "HKURunServiceOnce");
  spreadsheetRunNames(15, type, sub);
  EXPECT_EQ(type + sub, "HKCURunServicesOnce");
  spreadsheetRunNames(7, type, sub);
  EXPECT_EQ(type + sub, "UnknownKeyRun");
}

TEST(ReportHeader, TwelveHourClockWithoutZeroHourAndBrowserPagesAndValuesCannotAddMarkup) {
  ReportHeaderFacts f;
  f.caption = "Tavrin";
  f.build = "1:2";
  f.now = {2007, 9, 3, 14, 0, 0};
  f.platform = "Windows XP";
  f.browserPages = {{"HKCU Start Page", "http://x/<img>"}};
  const std::string html = reportHeader(f, true);
  EXPECT_EQ(html.rfind("Report created by Tavrin version 1:2 at  2:00:00 PM, on  9/03/2007<br>\r\n", 0), 0u);
  EXPECT_NE(html.find("HKCU Start Page = http://x/&lt;img&gt;<br>\r\n"), std::string::npos);
  EXPECT_NE(html.find("Browser: Unable to find default browser.<br>\r\n"), std::string::npos);
  EXPECT_NE(reportHeader(f, false).find("Platform: Windows XP\r\n"), std::string::npos);
  // The report's clock: twelve hours, without a zero hour.
  EXPECT_EQ(reportClockText({2007, 9, 3, 12, 30, 0}), "12:30:00 AM");
  EXPECT_EQ(reportClockText({2007, 9, 3, 13, 5, 0}), " 1:05:00 PM");
  EXPECT_EQ(reportClockText({2007, 9, 3, 0, 0, 9}), " 0:00:09 AM");
  EXPECT_EQ(reportDateText({2007, 9, 3, 0, 0, 0}), " 9/03/2007");
}

TEST(HijackRules, HostsLinesByTheirAddressAndIeResetLinesByTheTextAfterTheLastComma) {
  const std::string hosts =
      "127.0.0.1 localhost\r\n# 10.9.9.9 comment\r\n::1\tlocalhost\r\n0.0.0.0 ads.example\r\n"
      "   \r\n10.0.0.1\tbank.example\r\n10.1.1.1 intranet";
  EXPECT_EQ(hostsLogLines(hosts),
            (std::vector<std::string>{"O1 - Hosts: 10.0.0.1 bank.example", "O1 - Hosts: 10.1.1.1 intranet"}));
  EXPECT_TRUE(hostsLogLines("0.0.0.0 last.example").empty());
  EXPECT_TRUE(hostsLogLines("1.2\n" + std::string(500, 'x')).empty());
  EXPECT_EQ(ieResetLogLines("HKCU,\"Software\\Microsoft\\Internet Explorer\\Main\",\"Start Page\",0,\"http://a/,b\"\r\n"
                            "no comma Search Page\n"
                            "HKLM,x,\"Default_Search_URL\",,\"s\""),
            (std::vector<std::string>{"O14 - IERESET.INF:HKCU, Start Page = b\"",
                                      "O14 - IERESET.INF:HKLM, Default_Search_URL = \"s\""}));
}

TEST(HijackRules, StartupCodesBootModesMultiStringsAndOperatingSystems) {
  EXPECT_EQ(startupLogPrefix(24), "O4 - HKU\\..\\RunService: [");
  for (int unlisted : {17, 100}) EXPECT_EQ(startupLogPrefix(unlisted), "O4 - Other Run: [") << unlisted;
  EXPECT_EQ(bootModeText(2), "Boot mode: Safe with Network");
  EXPECT_EQ(bootModeText(-1), "Boot mode: Unknown");
  EXPECT_EQ(multiStringText(std::string("autocheck\0second\0\0", 18)), "autocheck | second");
  OsFacts xp;
  xp.major = 5, xp.minor = 1, xp.build = 2600, xp.servicePack = "Service Pack 2";
  xp.extended = true, xp.servicePackMajor = 2, xp.suiteMask = 0x200;
  EXPECT_EQ(operatingSystemText(xp), "Windows XP SP2 Home Edition Service Pack 2 (Build 2600)");
  OsFacts nt4;
  nt4.major = 4, nt4.build = 0x05A51381, nt4.servicePack = "Service Pack 6", nt4.productTypeValue = "lanmannt";
  nt4.hotfixQ246009 = true;
  EXPECT_EQ(operatingSystemText(nt4), "Windows NT Server 4.0 Service Pack 6a (Build 4993)");
  OsFacts server;
  server.major = 5, server.minor = 2, server.extended = true, server.productType = 3, server.suiteMask = 0x400;
  EXPECT_EQ(operatingSystemText(server), "Windows Server 2003 family, Web Edition  (Build 0)");
  OsFacts w98;
  w98.platformId = 1, w98.major = 4, w98.minor = 10, w98.servicePack = " A ";
  EXPECT_EQ(operatingSystemText(w98), "Microsoft Windows 98 SE ");
}

TEST(RegScript, ValueLinesByType) {
  EXPECT_EQ(regScriptRootName(0x80000001UL), "HKEY_CURRENT_USER");
  EXPECT_EQ(regScriptRootName(0x80000002UL), "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(regScriptValueLine({"", 1, std::string("C:\\Program Files\\x \"q\"\0", 23), ""}),
            "@=\"C:\\\\Program Files\\\\x \\\"q\\\"\"\r\n");
  EXPECT_EQ(regScriptValueLine({"Na\"me", 1, std::string("7\0", 2), ""}), "\"Na\\\"me\"=\"7\"\r\n");
  EXPECT_EQ(regScriptValueLine({"d", 4, std::string("\x07\x00\x01\x80", 4), ""}), "\"d\"=dword:80010007\r\n");
  EXPECT_EQ(regScriptValueLine({"b", 3, std::string("\x00\xff", 2), ""}), "\"b\"=hex:00,ff\r\n");
  EXPECT_EQ(regScriptValueLine({"m", 7, std::string("a\0\0", 3), std::string("a\0\0\0\0\0", 6)}),
            "\"m\"=hex(7):61,00,00,00,00,00\r\n");
  // A line break cannot be quoted: the text goes as UTF-16 in the hex form.
  EXPECT_EQ(regScriptValueLine({"s", 1, std::string("\n\0", 2), std::string("\n\0\0\0", 4)}),
            "\"s\"=hex(1):0a,00,00,00\r\n");
  EXPECT_EQ(regScriptValueLine({"q", 11, std::string("\x01\x02", 2), ""}), "\"q\"=hex(b):01,02\r\n");
  EXPECT_FALSE(regScriptNameUsable("a\r\n[HKEY_LOCAL_MACHINE\\x]"));
  EXPECT_TRUE(regScriptNameUsable("a]b"));
}
