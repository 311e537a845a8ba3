#include "components/utility/xml.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tern::utility::xml {
namespace {

using test::readFile;
using test::setReadOnly;
using test::TempFolder;
using test::writeFile;

// UTF-16 bytes of the text, with the byte-order mark first when asked.
std::string utf16(const std::u16string& text, bool littleEndian, bool withMark) {
    std::string bytes;
    auto put = [&](char16_t unit) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    };
    if (withMark)
        put(0xFEFF);
    for (const auto unit : text)
        put(unit);
    return bytes;
}

// The entries of a folder, in the order listed.
std::vector<fs::directory_entry> listing(const fs::path& folder) {
    return {fs::directory_iterator(folder), fs::directory_iterator()};
}

Element rootOf(const Document& document) {
    Element root;
    EXPECT_TRUE(getRootElement(root, document));
    return root;
}

Document parsed(const std::wstring& text) {
    Document document;
    EXPECT_TRUE(loadXml(document, text)) << "cannot parse the test's XML";
    return document;
}

Node selected(const Node& context, const std::wstring& expression) {
    Node node;
    EXPECT_TRUE(selectSingleNode(node, context, expression)) << "nothing selected by the test's XPath";
    return node;
}

std::wstring textOf(const Node& node) {
    std::wstring text;
    EXPECT_TRUE(readText(text, node));
    return text;
}

class XmlFile : public ::testing::Test {
protected:
    TempFolder folder;
    const fs::path file = folder.native("settings.xml");
    const std::wstring path = folder.system("settings.xml");

    // Writes the bytes, loads and saves the file unedited, and gives what the
    // file then holds.
    std::string roundTrip(const std::string& bytes) {
        writeFile(file, bytes);
        Document document;
        EXPECT_TRUE(load(document, path, false));
        EXPECT_TRUE(save(document, path));
        return readFile(file);
    }

    // An attribute of the file's document element, as loaded.
    std::wstring rootAttribute(const std::wstring& name) {
        Document document;
        std::wstring value;
        EXPECT_TRUE(load(document, path, false));
        EXPECT_TRUE(readAttributeText(value, rootOf(document), name)) << "no attribute in the test's file";
        return value;
    }
};

// --- Reading and writing files as they were -----------------------------

TEST_F(XmlFile, Save_ReproducesUtf8File_WithCommentsInstructionsWhitespaceAndAttributeOrder) {
    const std::string text = "<?xml version='1.0' encoding=\"utf-8\" standalone=\"yes\"?>\r\n"
                             "<!DOCTYPE Settings>\r\n"
                             "<?app-hint keep this?>\r\n"
                             "<Settings Zeta=\"1\" Alpha=\"2\" Mid=\"a &amp; b &quot;q&quot; &lt;x>\">\r\n"
                             "\t<!-- the user's own snap distance -->\r\n"
                             "  <Snap Enabled=\"true\"/>  <Empty></Empty>\r\n"
                             "  <Script><![CDATA[if (a < b && c) { }]]></Script>\r\n"
                             "  <Note>日本語 &amp; more</Note>\r\n"
                             "</Settings>\r\n"
                             "<!-- trailing comment -->\n";
    EXPECT_EQ(roundTrip(text), text);
}

TEST_F(XmlFile, Save_ReproducesUtf8File_WithByteOrderMark) {
    const std::string text = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Colors>\n  <Color Name=\"黒\"/>\n</Colors>\n";
    EXPECT_EQ(roundTrip(text), text);
}

TEST_F(XmlFile, Save_ReproducesUtf16Files_InBothByteOrders) {
    const std::u16string text = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Layer Name=\"外形線\">\r\n"
                                u"  <!-- 寸法 --><Pitch>5</Pitch>\r\n</Layer>\r\n";
    for (const bool littleEndian : {true, false}) {
        const auto bytes = utf16(text, littleEndian, true);
        EXPECT_EQ(roundTrip(bytes), bytes) << (littleEndian ? "little-endian" : "big-endian");
        EXPECT_EQ(rootAttribute(L"Name"), L"外形線");
    }
}

TEST_F(XmlFile, Load_ReadsUtf16WithoutByteOrderMark_AndSaveKeepsItWithout) {
    const auto bytes = utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Main>2016.0</Main>", true, false);
    EXPECT_EQ(roundTrip(bytes), bytes);
}

TEST_F(XmlFile, Save_ReproducesShiftJisFile_WithJapaneseTextAndBackslashes) {
    // "表示設定" and "ソフト": their second bytes are 0x5C, the backslash.
    const std::string text = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
                             "<View Name=\"\x95\x5C\x8E\xA6\x90\xDD\x92\xE8\" Folder=\"C:\\Data\\\">"
                             "\x83\x5C\x83\x74\x83\x67</View>\r\n";
    EXPECT_EQ(roundTrip(text), text);
    EXPECT_EQ(rootAttribute(L"Name"), L"表示設定");
    EXPECT_EQ(rootAttribute(L"Folder"), L"C:\\Data\\");
    Document document;
    ASSERT_TRUE(load(document, path, false));
    EXPECT_EQ(textOf(rootOf(document)), L"ソフト");
}

TEST_F(XmlFile, Save_ReproducesFileInOtherDeclaredEncoding) {
    const std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Font Name=\"Caf\xE9\"/>";
    EXPECT_EQ(roundTrip(text), text);
    EXPECT_EQ(rootAttribute(L"Name"), L"Caf\u00E9");
}

TEST_F(XmlFile, Save_WritesEditsInTheFilesOwnEncoding) {
    writeFile(file, "<?xml version=\"1.0\" encoding=\"shift_jis\"?>\n<Colors/>\n");
    Document document;
    ASSERT_TRUE(load(document, path, false));
    rootOf(document).appendElement(L"Color").setAttribute(L"Name", L"日本語");
    ASSERT_TRUE(save(document, path));
    EXPECT_EQ(readFile(file), "<?xml version=\"1.0\" encoding=\"shift_jis\"?>\n"
                              "<Colors><Color Name=\"\x93\xFA\x96\x7B\x8C\xEA\"/></Colors>\n");
}

TEST_F(XmlFile, Load_Fails_WhenShiftJisTextIsNotDeclared) {
    writeFile(file, "<View Name=\"\x95\x5C\x8E\xA6\"/>");
    Document document = Document::create(L"Stale");
    EXPECT_FALSE(load(document, path, false));
    EXPECT_FALSE(document) << "a failed load leaves the document empty";
}

TEST_F(XmlFile, Load_Fails_WhenTheDeclaredEncodingIsUnknownOrNoEncodingName) {
    for (const std::string name : {"x-no-such-encoding", "UTF-8//IGNORE", "SHIFT_JIS//TRANSLIT", "8859-1"}) {
        writeFile(file, "<?xml version=\"1.0\" encoding=\"" + name + "\"?><View/>");
        Document document;
        EXPECT_FALSE(load(document, path, false)) << name;
    }
}

TEST_F(XmlFile, Load_Fails_WhenBytesAreInvalidInTheDeclaredEncoding) {
    writeFile(file, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><View Name=\"\x81\"/>");
    Document document;
    EXPECT_FALSE(load(document, path, false));
}

TEST_F(XmlFile, Load_Fails_WhenSingleByteFileDeclaresUtf16) {
    writeFile(file, "<?xml version=\"1.0\" encoding=\"UTF-16\"?><View/>");
    Document document;
    EXPECT_FALSE(load(document, path, false));
}

TEST_F(XmlFile, Load_Fails_ForInvalidUtf8) {
    for (const std::string bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\x97"}) {
        writeFile(file, "<View Name=\"" + bad + "\"/>");
        Document document;
        EXPECT_FALSE(load(document, path, false)) << "bytes of length " << bad.size();
    }
}

TEST_F(XmlFile, Load_Fails_ForMissingFile) {
    Document document;
    EXPECT_FALSE(load(document, folder.system("missing.xml"), false));
}

TEST_F(XmlFile, Save_Fails_WhenACharacterHasNoRepresentation_AndKeepsTheOldFile) {
    const std::string text = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><Colors/>";
    writeFile(file, text);
    Document document;
    ASSERT_TRUE(load(document, path, false));
    rootOf(document).setAttribute(L"Name", L"€"); // not in code page 932
    EXPECT_FALSE(save(document, path));
    EXPECT_EQ(readFile(file), text);
}

TEST_F(XmlFile, Save_Fails_OnReadOnlyFile_AndLeavesIt) {
    const std::string text = "<Settings><Old/></Settings>";
    writeFile(file, text);
    setReadOnly(file, true);
    const Document document = parsed(L"<Settings><New/></Settings>");
    EXPECT_FALSE(save(document, path));
    EXPECT_EQ(readFile(file), text);
    EXPECT_EQ(listing(folder.path()), std::vector{fs::directory_entry(file)});
}

TEST_F(XmlFile, Save_ReplacesFile_WithoutLeavingATemporaryFile) {
    writeFile(file, "<Settings><Old/></Settings>");
    const Document document = parsed(L"<Settings><New/></Settings>");
    ASSERT_TRUE(save(document, path));
    EXPECT_EQ(readFile(file), "<Settings><New/></Settings>");
    EXPECT_EQ(listing(folder.path()), std::vector{fs::directory_entry(file)});
}

TEST_F(XmlFile, Save_Fails_ForEmptyDocument) {
    EXPECT_FALSE(save(Document(), path));
    EXPECT_FALSE(fs::exists(file));
}

// --- Parsing ------------------------------------------------------------

TEST(XmlParse, LoadXml_Fails_ForTextThatIsNotOneDocument) {
    for (const std::wstring text : {L"", L"   ", L"<a><b></a>", L"<a/><b/>", L"<a/>text", L"text<a/>",
                                    L"<a x=\"1\" x=\"2\"/>", L"  <?xml version=\"1.0\"?><a/>",
                                    L"<a/><!DOCTYPE a>", L"<a/><![CDATA[x]]>", L"<a>"}) {
        Document document;
        EXPECT_FALSE(loadXml(document, text)) << std::string(text.begin(), text.end());
        EXPECT_FALSE(document);
    }
}

TEST(XmlParse, Line_GivesTheLineANodeWasReadFrom) {
    const Document document = parsed(L"<?xml version=\"1.0\"?>\r\n<Root>\r\n  <A/>\n\n  <B\n    x=\"1\"/>\r  <C/></Root>");
    const Element root = rootOf(document);
    EXPECT_EQ(root.line(), 2);
    EXPECT_EQ(selected(root, L"A").line(), 3);
    EXPECT_EQ(selected(root, L"B").line(), 5);
    EXPECT_EQ(selected(root, L"C").line(), 7);
    EXPECT_EQ(selected(root, L"B/@x").line(), 5) << "an attribute is on its element's line";
    EXPECT_EQ(root.appendElement(L"New").line(), 0);
    EXPECT_EQ(Node().line(), 0);
}

TEST(XmlParse, ReadText_JoinsDescendantTextAndCdata_InOrder) {
    const Document document = parsed(L"<Main>20<![CDATA[16]]><Minor>.<!-- no -->0</Minor></Main>");
    EXPECT_EQ(textOf(rootOf(document)), L"2016.0");
    EXPECT_EQ(textOf(selected(rootOf(document), L"Minor/comment()")), L" no ");
    std::wstring untouched = L"kept";
    EXPECT_FALSE(readText(untouched, Node()));
    EXPECT_EQ(untouched, L"kept");
}

// --- Names and attributes -----------------------------------------------

TEST(XmlNames, CheckNodeName_IsCaseSensitive_AndOnlyForElements) {
    const Document document = parsed(L"<Versions><!--Main--><Main/></Versions>");
    const Element root = rootOf(document);
    EXPECT_TRUE(checkNodeName(root, L"Versions"));
    EXPECT_FALSE(checkNodeName(root, L"versions"));
    EXPECT_FALSE(checkNodeName(root, L"VERSIONS"));
    EXPECT_FALSE(checkNodeName(root, L"Version"));
    EXPECT_FALSE(checkNodeName(root.firstChild(), L"Main")) << "a comment is not an element";
    EXPECT_TRUE(checkNodeName(root.firstChild().nextSibling(), L"Main"));
    EXPECT_FALSE(checkNodeName(Node(), L""));
}

TEST(XmlNames, ReadAttributeBool_AcceptsTrueFalseOneZero_InAnyCase) {
    const Document document = parsed(L"<E a=\"true\" b=\"TRUE\" c=\"False\" d=\"fAlSe\" e=\"1\" f=\"0\"/>");
    const Element element = rootOf(document);
    const std::pair<const wchar_t*, bool> expected[] = {{L"a", true}, {L"b", true}, {L"c", false},
                                                        {L"d", false}, {L"e", true}, {L"f", false}};
    for (const auto& [name, value] : expected) {
        bool read = !value;
        EXPECT_TRUE(readAttributeBool(read, element, name)) << name;
        EXPECT_EQ(read, value) << name;
    }
}

TEST(XmlNames, ReadAttributeBool_LeavesValue_WhenAbsentOrNotABoolean) {
    const Document document = parsed(L"<E yes=\"yes\" empty=\"\" two=\"2\" spaced=\" true\"/>");
    const Element element = rootOf(document);
    for (const auto* name : {L"missing", L"yes", L"empty", L"two", L"spaced", L"YES"}) {
        for (const bool before : {true, false}) {
            bool value = before;
            EXPECT_FALSE(readAttributeBool(value, element, name)) << name;
            EXPECT_EQ(value, before) << name;
        }
    }
}

TEST(XmlNames, ReadAttributeText_ReadsEscapesAndJapanese_AndLeavesValueWhenAbsent) {
    const Document document = parsed(L"<E Name=\"寸法 &quot;A&quot; &amp; &lt;B&gt;\" Empty=\"\"/>");
    std::wstring value = L"before";
    EXPECT_FALSE(readAttributeText(value, rootOf(document), L"name"));
    EXPECT_EQ(value, L"before");
    EXPECT_TRUE(readAttributeText(value, rootOf(document), L"Name"));
    EXPECT_EQ(value, L"寸法 \"A\" & <B>");
    EXPECT_TRUE(readAttributeText(value, rootOf(document), L"Empty"));
    EXPECT_EQ(value, L"");
}

// --- XPath --------------------------------------------------------------

TEST(XmlXPath, SelectSingleNode_IsRelativeToContext_UnlessAbsolute) {
    const Document document = parsed(L"<Root><Item id=\"top\"/><Group><Item id=\"inner\"/></Group></Root>");
    const Node group = selected(rootOf(document), L"Group");
    std::wstring id;
    EXPECT_TRUE(readAttributeText(id, selected(group, L"Item").asElement(), L"id"));
    EXPECT_EQ(id, L"inner");
    EXPECT_TRUE(readAttributeText(id, selected(group, L"/Root/Item").asElement(), L"id"));
    EXPECT_EQ(id, L"top");
    Node none;
    EXPECT_FALSE(selectSingleNode(none, group, L"Group"));
    EXPECT_FALSE(none);
}

TEST(XmlXPath, SelectSingleNode_GivesFirstInDocumentOrder) {
    const Document document = parsed(L"<A><B><C><D/></C></B><E/></A>");
    const Node deepest = selected(rootOf(document), L"B/C/D");
    EXPECT_TRUE(checkNodeName(selected(deepest, L"ancestor::*"), L"A")) << "reverse axis, document order";
    EXPECT_TRUE(checkNodeName(selected(rootOf(document), L"//E | //C"), L"C"));
    EXPECT_TRUE(checkNodeName(selected(rootOf(document), L"(//*)[last()]"), L"E"));
}

TEST(XmlXPath, SelectSingleNode_SelectsAttributes) {
    const Document document = parsed(L"<Root><Snap Distance=\"2\"/></Root>");
    const Node distance = selected(rootOf(document), L"Snap/@Distance");
    EXPECT_FALSE(distance.isElement());
    EXPECT_EQ(textOf(distance), L"2");
    EXPECT_EQ(distance.outerXml(), L"Distance=\"2\"");
    Node none;
    EXPECT_FALSE(selectSingleNode(none, rootOf(document), L"Snap/@Pitch"));
}

TEST(XmlXPath, SelectSingleNode_GivesFalse_ForEmptyMalformedOrNonNodeExpressions) {
    const Document document = parsed(L"<Root><Setting/></Root>");
    for (const auto* expression : {L"", L"Setting[", L"//", L"1 + 1", L"$variable", L"Setting]]", L"count(*)"}) {
        Node node = rootOf(document);
        EXPECT_FALSE(selectSingleNode(node, rootOf(document), expression)) << std::wstring(expression).size();
        EXPECT_FALSE(node);
    }
    Node node;
    EXPECT_FALSE(selectSingleNode(node, Node(), L"Setting"));
}

TEST(XmlXPath, EnableXPath_ReportsWhetherThereIsADocument) {
    Document document = parsed(L"<Root/>");
    EXPECT_TRUE(enableXPath(document));
    Document empty;
    EXPECT_FALSE(enableXPath(empty));
}

// --- Editing ------------------------------------------------------------

TEST(XmlEdit, AppendChild_CopiesFragmentFromAnotherDocument_WithCdataCommentsAndJapanese) {
    Document target = parsed(L"<?xml version=\"1.0\"?>\n<Settings>\n  <Layers/>\n</Settings>\n");
    Node fragmentNode;
    {
        const Document definition =
            parsed(L"<Def><AddNode XPath=\"Layers\"><Layer Name=\"外形線 &amp; 寸法\"><![CDATA[<raw> & ]]></Layer>"
                   L"<!-- 追加 --> </AddNode></Def>");
        fragmentNode = selected(rootOf(definition), L"AddNode");
    }
    const std::wstring stored = fragmentNode.outerXml();
    EXPECT_EQ(stored, L"<AddNode XPath=\"Layers\"><Layer Name=\"外形線 &amp; 寸法\"><![CDATA[<raw> & ]]></Layer>"
                      L"<!-- 追加 --> </AddNode>");

    const Document scratch = parsed(stored);
    const Node layers = selected(rootOf(target), L"Layers");
    for (Node child = rootOf(scratch).firstChild(); child; child = child.nextSibling())
        layers.appendChild(child);
    EXPECT_EQ(rootOf(target).outerXml(),
              L"<Settings>\n  <Layers><Layer Name=\"外形線 &amp; 寸法\"><![CDATA[<raw> & ]]></Layer><!-- 追加 --> "
              L"</Layers>\n</Settings>");
}

TEST(XmlEdit, AppendChild_KeepsTheSourceUnchanged_AndCopiesIntoOwnDescendant) {
    const Document document = parsed(L"<A><B><C/></B></A>");
    const Node b = selected(rootOf(document), L"B");
    selected(b, L"C").appendChild(b);
    EXPECT_EQ(rootOf(document).outerXml(), L"<A><B><C><B><C/></B></C></B></A>");
}

TEST(XmlEdit, AppendChild_RaisesDomError_WhenTheResultWouldNotBeADocument) {
    const Document document = parsed(L"<!--top--><A>text<B/></A>");
    const Node documentNode = selected(rootOf(document), L"/");
    EXPECT_THROW(documentNode.appendChild(rootOf(document)), DomError) << "a second document element";
    EXPECT_THROW(documentNode.appendChild(rootOf(document).firstChild()), DomError) << "text at document level";
    EXPECT_THROW(rootOf(document).firstChild().appendChild(rootOf(document)), DomError) << "a child of text";
    EXPECT_THROW(rootOf(document).appendChild(Node()), DomError);
    EXPECT_THROW(Node().appendChild(rootOf(document)), DomError);
    EXPECT_THROW(rootOf(document).appendChild(selected(rootOf(document), L"/")), DomError);
    documentNode.appendChild(documentNode.firstChild());
    EXPECT_EQ(documentNode.outerXml(), L"<!--top--><A>text<B/></A><!--top-->");
}

TEST(XmlEdit, Create_AppendElement_SetAttribute_WriteTheExpectedDocument) {
    TempFolder folder;
    const Document document = Document::create(L"Versions");
    const Element main = rootOf(document).appendElement(L"Main");
    main.setAttribute(L"ver", L"2016.0");
    main.setAttribute(L"Note", L"a<b & \"c\"");
    main.setAttribute(L"ver", L"2016.1");
    ASSERT_TRUE(save(document, folder.system("version.xml")));
    EXPECT_EQ(readFile(folder.native("version.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Versions><Main ver=\"2016.1\" Note=\"a&lt;b &amp; "
              "&quot;c&quot;\"/></Versions>\n");
}

TEST(XmlEdit, AppendText_LaysOutANewDocument_ThatLoadsAndSavesToTheSameBytes) {
    TempFolder folder;
    const Document document = Document::create(L"Display");
    const Element root = rootOf(document);
    root.appendText(L"\n  ");
    const Element type = root.appendElement(L"LayoutType");
    type.appendText(L"\n    ");
    type.appendElement(L"LayoutMode").appendText(L"a<b & c>\t]]>");
    type.appendText(L"\n  ");
    root.appendText(L"\n");
    root.appendElement(L"Empty").appendText(L"");
    root.appendText(L"\n");
    const std::string expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<Display>\n"
                                 "  <LayoutType>\n"
                                 "    <LayoutMode>a&lt;b &amp; c&gt;\t]]&gt;</LayoutMode>\n"
                                 "  </LayoutType>\n"
                                 "<Empty/>\n"
                                 "</Display>\n";
    ASSERT_TRUE(save(document, folder.system("Display.xml")));
    EXPECT_EQ(readFile(folder.native("Display.xml")), expected);

    Document loaded;
    ASSERT_TRUE(load(loaded, folder.system("Display.xml"), false));
    EXPECT_EQ(textOf(selected(rootOf(loaded), L"LayoutType/LayoutMode")), L"a<b & c>\t]]>");
    EXPECT_EQ(selected(rootOf(loaded), L"LayoutType").line(), 3);
    ASSERT_TRUE(save(loaded, folder.system("Display.xml")));
    EXPECT_EQ(readFile(folder.native("Display.xml")), expected);
}

TEST(XmlEdit, AppendText_RaisesDomError_WhereThereIsNoElement) {
    const Document document = parsed(L"<Root a=\"1\">text</Root>");
    EXPECT_THROW(selected(rootOf(document), L"/").appendText(L"\n"), DomError) << "text at document level";
    EXPECT_THROW(rootOf(document).firstChild().appendText(L"more"), DomError) << "a child of text";
    EXPECT_THROW(selected(rootOf(document), L"@a").appendText(L"x"), DomError) << "a child of an attribute";
    EXPECT_THROW(Node().appendText(L"x"), DomError);
    EXPECT_EQ(rootOf(document).outerXml(), L"<Root a=\"1\">text</Root>");
}

TEST(XmlEdit, NewNames_RaiseDomError_WhenNotXmlNames) {
    const Document document = parsed(L"<Root/>");
    for (const auto* bad : {L"", L"a b", L"1st", L"-x", L"a<b", L"a/b", L"a=b", L"a\"b"}) {
        EXPECT_THROW(rootOf(document).appendElement(bad), DomError) << std::wstring(bad).size();
        EXPECT_THROW(rootOf(document).setAttribute(bad, L"v"), DomError) << std::wstring(bad).size();
        EXPECT_THROW(Document::create(bad), DomError) << std::wstring(bad).size();
    }
    EXPECT_NO_THROW(rootOf(document).appendElement(L"寸法_1.x-y"));
    EXPECT_EQ(rootOf(document).outerXml(), L"<Root><寸法_1.x-y/></Root>");
}

TEST(XmlEdit, EmptyEndTaggedElement_KeepsItsEndTag_UntilItGetsContent) {
    const Document document = parsed(L"<Root><A></A><B x=\"/>\"></B><C/></Root>");
    EXPECT_EQ(rootOf(document).outerXml(), L"<Root><A></A><B x=\"/>\"></B><C/></Root>");
    EXPECT_FALSE(selected(rootOf(document), L"A").firstChild()) << "no node stands for the end tag";
    selected(rootOf(document), L"A").appendElement(L"In");
    EXPECT_EQ(selected(rootOf(document), L"A").outerXml(), L"<A><In/></A>");
}

// --- Empty handles ------------------------------------------------------

TEST(XmlHandles, EmptyHandles_GiveEmptyResults) {
    const Node node;
    const Element element;
    EXPECT_FALSE(node.isElement());
    EXPECT_EQ(node.name(), L"");
    EXPECT_FALSE(node.asElement());
    EXPECT_FALSE(node.firstChild());
    EXPECT_FALSE(node.nextSibling());
    EXPECT_EQ(node.outerXml(), L"");
    EXPECT_NO_THROW(element.setAttribute(L"a", L"b"));
    std::wstring value = L"kept";
    EXPECT_FALSE(readAttributeText(value, element, L"a"));
    EXPECT_EQ(value, L"kept");
    Element root = rootOf(parsed(L"<Root/>"));
    EXPECT_FALSE(getRootElement(root, Document()));
    EXPECT_FALSE(root);
}

TEST(XmlHandles, Nodes_KeepTheirDocumentAlive) {
    Node child;
    {
        const Document document = parsed(L"<Root><Child>kept</Child></Root>");
        child = selected(rootOf(document), L"Child");
    }
    EXPECT_EQ(textOf(child), L"kept");
    EXPECT_EQ(child.name(), L"Child");
}

// --- Deep documents -----------------------------------------------------

TEST_F(XmlFile, DeeplyNestedDocument_LoadsSavesAndIsReleased) {
    constexpr int depth = 50000;
    std::string text = "<?xml version=\"1.0\"?>\n";
    for (int i = 0; i < depth; ++i)
        text += "<n>";
    text += "\ndeep";
    for (int i = 0; i < depth; ++i)
        text += "</n>";
    text += "\n";
    EXPECT_EQ(roundTrip(text), text);

    Document document;
    ASSERT_TRUE(load(document, path, false));
    const Node leaf = selected(rootOf(document), L"//n[not(n)]");
    EXPECT_EQ(leaf.line(), 2);
    EXPECT_EQ(textOf(rootOf(document)), L"\ndeep");
    EXPECT_EQ(leaf.outerXml(), L"<n>\ndeep</n>");
    EXPECT_TRUE(checkNodeName(selected(leaf, L"ancestor::n"), L"n"));
    rootOf(document).appendChild(rootOf(document));
    EXPECT_EQ(rootOf(document).outerXml().size(), 2 * (text.size() - 23));
}

} // namespace
} // namespace tern::utility::xml
