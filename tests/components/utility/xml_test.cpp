#include "components/utility/xml.h"

#include "platform/text.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tern::utility::xml {
namespace {

using test::readFile;
using test::setReadOnly;
using test::TempFolder;
using test::Tree;
using test::treeOf;
using test::writeFile;

// UTF-16 bytes of the text, with the byte-order mark first when asked.
std::string utf16(const std::u16string& text, bool littleEndian, bool withMark) {
    std::string bytes;
    for (const auto unit : (withMark ? u"\uFEFF" : u"") + text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
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
    // file then holds; `document` keeps what was loaded.
    std::string roundTrip(const std::string& bytes) {
        writeFile(file, bytes);
        EXPECT_TRUE(load(document, path, false));
        EXPECT_TRUE(save(document, path));
        return readFile(file);
    }

    // Writes the bytes and gives why loading them fails; empty when they load.
    std::wstring whyNotLoaded(const std::string& bytes) {
        writeFile(file, bytes);
        std::wstring why;
        return load(document, path, false, &why) ? std::wstring() : why;
    }

    Document document;
};

// --- Reading and writing files as they were -----------------------------

TEST_F(XmlFile, Save_ReproducesTheFileByteForByte_InEachEncoding_AndLoadDecodesIt) {
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* xpath;   // a node that shows the decoding
        const wchar_t* decoded; // its outer XML as loaded
    };
    const std::u16string layer = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Layer Name=\"外形線\">\r\n"
                                 u"  <!-- 寸法 --><Pitch>5</Pitch>\r\n</Layer>\r\n";
    const Case cases[] = {
        {"UTF-8 with comments, instructions, whitespace and attribute order",
         "<?xml version='1.0' encoding=\"utf-8\" standalone=\"yes\"?>\r\n"
         "<!DOCTYPE Settings>\r\n"
         "<?app-hint keep this?>\r\n"
         "<Settings Zeta=\"1\" Alpha=\"2\" Mid=\"a &amp; b &quot;q&quot; &lt;x>\">\r\n"
         "\t<!-- the user's own snap distance -->\r\n"
         "  <Snap Enabled=\"true\"/>  <Empty></Empty>\r\n"
         "  <Script><![CDATA[if (a < b && c) { }]]></Script>\r\n"
         "  <Note>日本語 &amp; more</Note>\r\n"
         "</Settings>\r\n"
         "<!-- trailing comment -->\n",
         L"/Settings/Note", L"<Note>日本語 &amp; more</Note>"},
        {"UTF-8 with byte-order mark",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Colors>\n  <Color Name=\"黒\"/>\n</Colors>\n",
         L"//Color", L"<Color Name=\"黒\"/>"},
        {"UTF-16 little-endian", utf16(layer, true, true), L"/Layer/@Name", L"Name=\"外形線\""},
        {"UTF-16 big-endian", utf16(layer, false, true), L"/Layer/@Name", L"Name=\"外形線\""},
        {"UTF-16 without byte-order mark",
         utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Main>2016.0</Main>", true, false), L"/Main",
         L"<Main>2016.0</Main>"},
        // "表示設定" and "ソフト": their second bytes are 0x5C, the backslash.
        {"Shift_JIS",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
         "<View Name=\"\x95\x5C\x8E\xA6\x90\xDD\x92\xE8\" Folder=\"C:\\Data\\\">\x83\x5C\x83\x74\x83\x67</View>\r\n",
         L"/View", L"<View Name=\"表示設定\" Folder=\"C:\\Data\\\">ソフト</View>"},
        {"another declared encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Font Name=\"Caf\xE9\"/>",
         L"/Font", L"<Font Name=\"Caf\u00E9\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(roundTrip(c.bytes), c.bytes);
        EXPECT_EQ(selected(rootOf(document), c.xpath).outerXml(), c.decoded);
    }
}

// An empty element keeps the form it was written in, also where quotes,
// brackets and "</" stand in values, comments and CDATA sections around it.
// Values and text are written as the DOM escapes them.
TEST_F(XmlFile, Save_KeepsEachEmptyElementAsWritten_WhereValuesCommentsAndCdataHoldTagCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"<R><A></A><B/>\n<C></C></R>\n", ""},
        {"<?xml version=\"1.0\"?>\r\n<R></R>", ""},
        {"<R><A k=\"a>\"></A><B k=\"/>\"/><C k='\"'></C></R>", "<R><A k=\"a>\"></A><B k=\"/>\"/><C k=\"&quot;\"></C></R>"},
        {"<R><A><!-- \"q\" --></A><B></B><![CDATA[<a></a>]]><?p x=\"></\"?><D/></R>", ""},
        {"<R>a > b<A></A><B>></B><C/></R>", "<R>a &gt; b<A></A><B>&gt;</B><C/></R>"},
    };
    for (const auto& [bytes, saved] : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(roundTrip(bytes), saved.empty() ? bytes : saved);
    }
    // A "<" in a value, which XML does not allow: pugixml takes it (and
    // writes "&lt;"), MSXML refuses the file. Where it loads, the empty
    // elements around it keep their form all the same.
    const std::pair<std::string, std::string> lenient[] = {
        {"<R><A k=\"</B>\"></A><B k='<'/><C></C></R>", "<R><A k=\"&lt;/B>\"></A><B k=\"&lt;\"/><C></C></R>"},
        {"<R><A k='x'/><B k=\"<C\"></B><C></C></R>", "<R><A k=\"x\"/><B k=\"&lt;C\"></B><C></C></R>"},
    };
    for (const auto& [bytes, saved] : lenient) {
        SCOPED_TRACE(bytes);
        writeFile(file, bytes);
        if (load(document, path, false)) {
            EXPECT_TRUE(save(document, path));
            EXPECT_EQ(readFile(file), saved);
        }
    }
}

// The lines are those of the file as written, though the parser rewrites
// values in place (line ends in attribute values become spaces, references
// become what they stand for).
TEST_F(XmlFile, Load_CountsLinesAsTheFileWroteThem_AfterValuesAndTextTheParserRewrites) {
    writeFile(file, "<R a=\"1\n2\n3\" b=\"&amp;\n\">\n<A/>&lt;\n\n<B\nc=\"&#10;\"/>\r\n<C/></R>");
    ASSERT_TRUE(load(document, path, false));
    EXPECT_EQ(rootOf(document).line(), 1);
    EXPECT_EQ(selected(rootOf(document), L"A").line(), 5);
    EXPECT_EQ(selected(rootOf(document), L"B").line(), 7);
    EXPECT_EQ(selected(rootOf(document), L"C").line(), 9);

    writeFile(file, "<R a=\"x\n\ny\" b=\"&lt;\n\">\n<A k=\"1\" k=\"2\"/></R>");
    int line = 0;
    EXPECT_FALSE(load(document, path, false, nullptr, &line));
    EXPECT_EQ(line, 5);
}

TEST_F(XmlFile, Load_FailsAndEmptiesTheDocument_WhenTheBytesCannotBeReadAsDeclared_SayingWhy) {
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* why;
    };
    const Case cases[] = {
        {"undeclared Shift_JIS", "<View Name=\"\x95\x5C\x8E\xA6\"/>",
         L"its bytes cannot be read as the encoding \"utf-8\""},
        {"unknown encoding", "<?xml version=\"1.0\" encoding=\"x-no-such-encoding\"?><View/>",
         L"its bytes cannot be read as the encoding \"x-no-such-encoding\""},
        {"converter option", "<?xml version=\"1.0\" encoding=\"UTF-8//IGNORE\"?><View/>",
         L"its declaration names no encoding"},
        {"converter option", "<?xml version=\"1.0\" encoding=\"SHIFT_JIS//TRANSLIT\"?><View/>",
         L"its declaration names no encoding"},
        {"no encoding name", "<?xml version=\"1.0\" encoding=\"8859-1\"?><View/>", L"its declaration names no encoding"},
        {"invalid Shift_JIS", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><View Name=\"\x81\"/>",
         L"its bytes cannot be read as the encoding \"cp932\""},
        {"single bytes declared UTF-16", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><View/>",
         L"its text does not read as the encoding \"utf-16\" declares it"},
        {"NUL character", std::string("<View>\0</View>", 14), L"its text does not read as the encoding \"utf-8\" declares it"},
        {"overlong UTF-8", "<View Name=\"\xC0\xAF\"/>", L"its bytes cannot be read as the encoding \"utf-8\""},
        {"UTF-8 surrogate", "<View Name=\"\xED\xA0\x80\"/>", L"its bytes cannot be read as the encoding \"utf-8\""},
        {"UTF-8 beyond U+10FFFF", "<View Name=\"\xF4\x90\x80\x80\"/>",
         L"its bytes cannot be read as the encoding \"utf-8\""},
        {"truncated UTF-8", "<View Name=\"\xE6\x97\"/>", L"its bytes cannot be read as the encoding \"utf-8\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file, c.bytes);
        document = Document::create(L"Stale");
        std::wstring why;
        EXPECT_FALSE(load(document, path, false, &why));
        EXPECT_FALSE(document);
        EXPECT_EQ(why, c.why);
    }
    std::wstring why;
    int line = -1;
    EXPECT_FALSE(load(document, folder.system("missing.xml"), false, &why, &line));
    EXPECT_EQ(why, L"it cannot be read: No such file or directory");
    EXPECT_EQ(line, 0);
    EXPECT_FALSE(load(document, folder.system(""), false, &why));
    EXPECT_EQ(why, L"it cannot be read: Is a directory");
}

// The reason is the parser's own, and differs between the backends; the
// line is where the text stops being one well-formed document.
TEST_F(XmlFile, Load_SaysOnWhichLineTheTextIsNotWellFormed) {
    const std::pair<std::string, int> cases[] = {
        {"<View>\n  <Item>\n</View>\n", 3},
        {"<?xml version=\"1.0\"?>\n<View>\n\n  <Item Name=\"a\" Name=\"b\"/>\n</View>\n", 4},
        {"<View/>\n\n<View/>\n", 3},
    };
    for (const auto& [text, expectedLine] : cases) {
        SCOPED_TRACE(text);
        writeFile(file, text);
        for (const bool forReading : {false, true}) {
            std::wstring why;
            int line = 0;
            EXPECT_FALSE(forReading ? loadForReading(document, path, &why, &line)
                                    : load(document, path, false, &why, &line));
            EXPECT_EQ(why.rfind(L"it is not", 0), 0u);
            EXPECT_NE(why.find(L"well-formed XML"), std::wstring::npos);
            EXPECT_EQ(line, expectedLine);
        }
    }
    writeFile(file, "<View>\n  <Item/>\n</View>\n");
    std::wstring why = L"stale";
    int line = 7;
    EXPECT_TRUE(load(document, path, false, &why, &line));
    EXPECT_EQ(why, L"");
    EXPECT_EQ(line, 0);
}

// UTF-7 reads a plain declaration, but writes "<" as "+ADw-": a save would
// leave a file that no reader takes for UTF-7 any more. Such a file is
// refused when it is loaded, and stays as it is.
TEST_F(XmlFile, Load_RefusesAnEncodingWhoseWrittenTextWouldNotReadAgain_LeavingTheFileUntouched) {
    // "外形" is +WRZi1A- in UTF-7.
    const std::string bytes = "<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n<Layer Name=\"+WRZi1A-\"/>\n";
    writeFile(file, bytes);
    std::wstring why;
    EXPECT_FALSE(load(document, path, false, &why));
    EXPECT_EQ(why, L"text written in the encoding \"utf-7\" would not read as that encoding again");
    EXPECT_EQ(treeOf(folder.path()), Tree{"settings.xml=" + bytes});
}

// Neither DOM writes entities back as the file had them: pugixml would read
// "&e;" as text and write "&amp;e;", MSXML would expand it (a billion laughs
// without end). A file that declares entities or refers to one is refused;
// the predefined ones, character references and a document type without
// entities are read and written back as they were.
TEST_F(XmlFile, Load_RefusesEntityDeclarationsAndReferences_AndKeepsPredefinedAndCharacterReferences) {
    const std::wstring declares = L"its document type declares entities, which would not be written back as they are";
    const std::wstring refersToE = L"it refers to the entity \"&e;\", which would not be written back as it is";
    std::string laughs = "<!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        laughs += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            laughs += "&lol" + (level > 1 ? std::to_string(level - 1) : std::string()) + ";";
        laughs += "\">";
    }
    laughs += "]><lolz>&lol9;</lolz>";
    const std::pair<std::string, std::wstring> refused[] = {
        {"<!DOCTYPE a [<!ENTITY e \"expanded\">]>\n<a>&e;</a>", declares},
        {laughs, declares},
        {"<!DOCTYPE a [<!ENTITY e \"never used\">]><a/>", declares},
        {"<!DOCTYPE a [<!ENTITY % p \"<!ELEMENT a ANY>\"> %p;]><a/>", declares},
        {"<!DOCTYPE a SYSTEM \"a.dtd\"><a>&e;</a>", refersToE},
        {"<a>&e;</a>", refersToE},
        {"<a b=\"x &e; y\"/>", refersToE},
    };
    for (const auto& [bytes, why] : refused) {
        SCOPED_TRACE(bytes);
        writeFile(file, bytes);
        std::wstring said;
        EXPECT_FALSE(load(document, path, false, &said));
        EXPECT_EQ(said, why);
        EXPECT_FALSE(loadXml(document, platform::fromUtf8(bytes)));
        EXPECT_EQ(treeOf(folder.path()), Tree{"settings.xml=" + bytes});
    }
    // The references are read as what they stand for, and written as the DOM escapes text.
    EXPECT_EQ(roundTrip("<a b=\"&lt;&gt;&amp;&apos;&quot;&#38;&#x26;\">&amp;e; &#x65E5;</a>"),
              "<a b=\"&lt;>&amp;'&quot;&amp;&amp;\">&amp;e; \xE6\x97\xA5</a>");
    std::wstring value;
    EXPECT_TRUE(readAttributeText(value, rootOf(document), L"b"));
    EXPECT_EQ(value, L"<>&'\"&&");
    EXPECT_EQ(textOf(rootOf(document)), L"&e; \u65E5");
    const std::string declaresNoEntity =
        "<!DOCTYPE a [<!-- <!ENTITY e \"x\"> --><!ELEMENT a ANY>]><a><![CDATA[&e;]]></a>";
    EXPECT_EQ(roundTrip(declaresNoEntity), declaresNoEntity);
}

// A document type is looked for wherever "!" stands, behind comments and
// processing instructions that hold "!" too; in a comment it is only text.
TEST_F(XmlFile, Load_FindsADocumentTypeThatDeclaresEntities_BehindCommentsAndInstructions) {
    EXPECT_EQ(whyNotLoaded("<!-- ! --><?p !?>\n<!DOCTYPE a [<!ENTITY e \"x\">]><a>!</a>"),
              L"its document type declares entities, which would not be written back as they are");
    const std::string commented = "<!-- <!DOCTYPE a [<!ENTITY e \"x\">]> --><a>!<![CDATA[<!DOCTYPE]]></a>";
    EXPECT_EQ(roundTrip(commented), commented);
}

// A failed save, for a read-only file, an empty document or a name the
// file's encoding cannot hold, leaves the folder as it was.
TEST_F(XmlFile, Save_ReplacesTheFileInOneStep_InItsOwnEncoding_OrLeavesItAsItWas) {
    writeFile(file, "<?xml version=\"1.0\" encoding=\"shift_jis\"?>\n<Colors/>\n");
    ASSERT_TRUE(load(document, path, false));
    rootOf(document).appendElement(L"Color").setAttribute(L"Name", L"日本語");
    ASSERT_TRUE(save(document, path));
    rootOf(document).appendElement(L"€"); // not in code page 932
    EXPECT_FALSE(save(document, path));

    writeFile(folder.native("replaced.xml"), "<Settings><Old/></Settings>");
    writeFile(folder.native("locked.xml"), "<Settings><Old/></Settings>");
    setReadOnly(folder.native("locked.xml"), true);
    const Document settings = parsed(L"<Settings><New/></Settings>");
    EXPECT_TRUE(save(settings, folder.system("replaced.xml")));
    EXPECT_FALSE(save(settings, folder.system("locked.xml")));
    EXPECT_FALSE(save(Document(), folder.system("empty.xml")));
    EXPECT_EQ(treeOf(folder.path()),
              (Tree{"locked.xml=<Settings><Old/></Settings> (read-only)", "replaced.xml=<Settings><New/></Settings>",
                    "settings.xml=<?xml version=\"1.0\" encoding=\"shift_jis\"?>\n"
                    "<Colors><Color Name=\"\x93\xFA\x96\x7B\x8C\xEA\"/></Colors>\n"}));
}

// An edit may bring characters the file's encoding lacks: in text and
// attribute values they are written as character references and read back
// as themselves. Code page 932 has neither "€" nor U+1F600, and ISO-8859-1
// not "€" either.
TEST_F(XmlFile, Save_WritesCharactersTheEncodingLacks_AsCharacterReferences_InTextAndAttributes) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string saved;
    };
    const Case cases[] = {
        {"Shift_JIS", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<Colors Name=\"\x93\xFA\x96\x7B\"/>\n",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
         "<Colors Name=\"\x93\xFA\x96\x7B\"><Color Note=\"&#x20AC;5 &amp; &#x1F600;\">\x93\xFA\x96\x7B &#x1F600; "
         "&lt;&#x20AC;&gt;</Color></Colors>\n"},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Colors Name=\"Caf\xE9\"/>\n",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
         "<Colors Name=\"Caf\xE9\"><Color Note=\"&#x20AC;5 &amp; &#x1F600;\">&#x65E5;&#x672C; &#x1F600; "
         "&lt;&#x20AC;&gt;</Color></Colors>\n"},
    };
    const std::wstring note = L"€5 & \U0001F600";
    const std::wstring text = L"日本 \U0001F600 <€>";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file, c.bytes);
        ASSERT_TRUE(load(document, path, false));
        const Element color = rootOf(document).appendElement(L"Color");
        color.setAttribute(L"Note", note);
        color.appendText(text);
        ASSERT_TRUE(save(document, path));
        EXPECT_EQ(readFile(file), c.saved);

        Document loaded;
        ASSERT_TRUE(load(loaded, path, false));
        std::wstring value;
        EXPECT_TRUE(readAttributeText(value, selected(rootOf(loaded), L"Color").asElement(), L"Note"));
        EXPECT_EQ(value, note);
        EXPECT_EQ(textOf(selected(rootOf(loaded), L"Color")), text);
    }
}

// What looks like a quote, a bracket or a tag inside the prolog's markup
// does not make text of it: the reference goes into the element's text.
TEST_F(XmlFile, Save_PlacesTheReference_AfterAPrologOfQuotesAndBrackets) {
    const std::string prolog = "<?xml version='1.0' encoding='Shift_JIS'?>\n"
                               "<!DOCTYPE Colors [ <!-- ]> \" --> ]>\n"
                               "<?app-hint ' > ?>\n"
                               "<!-- \" ' > -->\n";
    writeFile(file, prolog + "<Colors A='a&gt;b'/>\n");
    ASSERT_TRUE(load(document, path, false));
    rootOf(document).appendText(L"€");
    ASSERT_TRUE(save(document, path));
    EXPECT_EQ(readFile(file), prolog + "<Colors A=\"a>b\">&#x20AC;</Colors>\n");
}

// Where XML reads no references the character has no form in the file: the
// save fails and the file stays as it was.
TEST_F(XmlFile, Save_Fails_ForACharacterTheEncodingLacks_InANameACommentOrAnInstruction) {
    const std::string bytes = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<Colors/>\n";
    const Document fragments = parsed(L"<a><!-- € --><![CDATA[€]]><?app €?></a>");
    const Node comment = rootOf(fragments).firstChild();
    const std::pair<const char*, std::function<void(const Element&)>> edits[] = {
        {"element name", [](const Element& root) { root.appendElement(L"€"); }},
        {"attribute name", [](const Element& root) { root.setAttribute(L"€", L"1"); }},
        {"comment", [&](const Element& root) { root.appendChild(comment); }},
        {"CDATA section", [&](const Element& root) { root.appendChild(comment.nextSibling()); }},
        {"processing instruction", [&](const Element& root) { root.appendChild(comment.nextSibling().nextSibling()); }},
    };
    for (const auto& [name, edit] : edits) {
        SCOPED_TRACE(name);
        writeFile(file, bytes);
        ASSERT_TRUE(load(document, path, false));
        edit(rootOf(document));
        EXPECT_FALSE(save(document, path));
        EXPECT_EQ(treeOf(folder.path()), Tree{"settings.xml=" + bytes});
    }
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

// Lines of every length, so that line feeds fall at every place of the
// blocks the loader reads at a time; a byte that differs from a line feed
// only in its high bit (in the UTF-8 of U+008A) ends none.
TEST_F(XmlFile, Load_CountsLinesOfEveryLength_AndOnlyLineFeedsEndThem) {
    std::string text = "<R>";
    for (int i = 0; i < 24; ++i)
        text += "\n<E" + std::string(static_cast<std::size_t>(i % 9), ' ') + "/><!--\xc2\x8a" +
                std::string(static_cast<std::size_t>(i % 5), ' ') + "-->";
    writeFile(file, text + "</R>");
    ASSERT_TRUE(load(document, path, false));
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(selected(rootOf(document), L"E[" + std::to_wstring(i + 1) + L"]").line(), i + 2) << i;
}

// A lone carriage return ends a line wherever it falls in those blocks,
// the only one in a text that otherwise ends its lines with line feeds.
TEST_F(XmlFile, Load_CountsALoneCarriageReturnAsALineEnd_AtEveryPlace) {
    for (std::size_t place = 0; place < 70; ++place) {
        writeFile(file, "<R><!--" + std::string(place, 'x') + "-->\r<A/>\n" + std::string(70, ' ') + "<B/></R>");
        ASSERT_TRUE(load(document, path, false)) << place;
        EXPECT_EQ(selected(rootOf(document), L"A").line(), 2) << place;
        EXPECT_EQ(selected(rootOf(document), L"B").line(), 3) << place;
    }
}

TEST(XmlParse, Line_GivesTheLineANodeWasReadFrom) {
    const Document document =
        parsed(L"<?xml version=\"1.0\"?>\r\n<Root>\r\n  <A/>\n\n  <B\n    x=\"1\"/>\r  <C/></Root>");
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

TEST(XmlParse, ElementWalk_StepsOverEveryOtherKindOfNode_ToEachChildElementInOrder) {
    const Document document = parsed(L"<R>text <!--c--><A/>\n  <?pi x?><![CDATA[d]]><B><Inner/></B>tail<C/><!--end--></R>");
    std::vector<std::wstring> names;
    for (Element child = rootOf(document).firstChildElement(); child; child = child.nextSiblingElement())
        names.push_back(child.name());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"B", L"C"}));
    EXPECT_FALSE(selected(rootOf(document), L"C").nextSiblingElement()) << "only a comment follows the last";
    EXPECT_FALSE(selected(rootOf(document), L"A").firstChildElement());
    EXPECT_FALSE(rootOf(parsed(L"<R>only text<!--and a comment--></R>")).firstChildElement());
}

// --- Names and attributes -----------------------------------------------

TEST(XmlNames, CheckNodeName_IsCaseSensitive_AndOnlyForElements) {
    const Document document = parsed(L"<Versions><!--Main--><Main/></Versions>");
    const Element root = rootOf(document);
    EXPECT_TRUE(checkNodeName(root, L"Versions"));
    EXPECT_FALSE(checkNodeName(root, L"versions"));
    EXPECT_FALSE(checkNodeName(root, L"Version"));
    EXPECT_FALSE(checkNodeName(root.firstChild(), L"Main")) << "a comment is not an element";
    EXPECT_TRUE(checkNodeName(root.firstChild().nextSibling(), L"Main"));
    EXPECT_FALSE(checkNodeName(Node(), L""));
}

// A name past ASCII is compared as the characters its UTF-8 bytes spell,
// never byte for character: "ķ" is the bytes C4 B7, which read one to one
// as the characters of "Ä·", a name of its own.
TEST(XmlNames, CheckNodeName_ComparesANameBeyondAsciiAsItsCharacters) {
    const Document document = parsed(L"<R><\u00E9t\u00E9/><\u0137/><\u00C4\u00B7/></R>");
    const Element summer = rootOf(document).firstChildElement();
    const Element letter = summer.nextSiblingElement();
    const Element misread = letter.nextSiblingElement();
    EXPECT_TRUE(checkNodeName(summer, L"\u00E9t\u00E9"));
    EXPECT_FALSE(checkNodeName(summer, L"\u00E9t"));
    EXPECT_TRUE(checkNodeName(letter, L"\u0137"));
    EXPECT_FALSE(checkNodeName(letter, L"\u00C4\u00B7"));
    EXPECT_TRUE(checkNodeName(misread, L"\u00C4\u00B7"));
    EXPECT_FALSE(checkNodeName(misread, L"\u0137"));
}

TEST(XmlNames, ReadAttributeBool_AcceptsTrueFalseOneZeroInAnyCase_AndLeavesTheValueOtherwise) {
    const Document document = parsed(L"<E a=\"true\" b=\"TRUE\" c=\"False\" d=\"fAlSe\" e=\"1\" f=\"0\""
                                     L" yes=\"yes\" empty=\"\" two=\"2\" spaced=\" true\"/>");
    const std::pair<const wchar_t*, int> cases[] = {
        // The attribute, and what it reads as: 1 or 0, or -1 when it is no boolean.
        {L"a", 1}, {L"b", 1}, {L"c", 0}, {L"d", 0}, {L"e", 1}, {L"f", 0}, {L"missing", -1},
        {L"yes", -1}, {L"empty", -1}, {L"two", -1}, {L"spaced", -1}, {L"YES", -1},
    };
    for (const auto& [name, expected] : cases) {
        for (const bool before : {true, false}) {
            bool value = before;
            EXPECT_EQ(readAttributeBool(value, rootOf(document), name), expected >= 0) << name;
            EXPECT_EQ(value, expected < 0 ? before : expected == 1) << name;
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

// Wine's MSXML lists namespace declarations after the other attributes, so
// the declaration stands last here.
TEST(XmlNames, AttributeNames_ListEveryAttributeInItsOrder_AndSetAttributeChangesPrefixedOnesInPlace) {
    const Document document = parsed(L"<E Color=\"0\" p:LineColor=\"1\" 色=\"x\" xmlns:p=\"urn:p\"><Inner/></E>");
    const Element root = rootOf(document);
    EXPECT_EQ(root.attributeNames(), (std::vector<std::wstring>{L"Color", L"p:LineColor", L"色", L"xmlns:p"}));
    root.setAttribute(L"p:LineColor", L"16777215");
    EXPECT_EQ(root.outerXml(), L"<E Color=\"0\" p:LineColor=\"16777215\" 色=\"x\" xmlns:p=\"urn:p\"><Inner/></E>");

    const Element inner = selected(root, L"Inner").asElement();
    EXPECT_EQ(inner.attributeNames(), std::vector<std::wstring>{});
    inner.setAttribute(L"Added", L"");
    EXPECT_EQ(inner.attributeNames(), std::vector<std::wstring>{L"Added"});
}

// Names are compared where the DOM holds them: a name that only starts
// like another, or differs from it past the ASCII part, is another name.
TEST(XmlNames, ReadAttributeText_MatchesTheWholeName_AsciiOrNot) {
    const Document document = parsed(L"<E PosX=\"1\" Pos=\"2\" 色A=\"3\" 色=\"4\" P=\"5\"/>");
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Pos", L"2"}, {L"PosX", L"1"}, {L"P", L"5"},     {L"色", L"4"},  {L"色A", L"3"},
        {L"Po", nullptr}, {L"PosXY", nullptr}, {L"色B", nullptr},
    };
    for (const auto& [name, expected] : cases) {
        std::wstring value = L"kept";
        EXPECT_EQ(readAttributeText(value, rootOf(document), name), expected != nullptr) << name;
        EXPECT_EQ(value, expected ? expected : L"kept") << name;
    }
}

TEST(XmlNames, ReadAttributes_FillsTheNamedFieldsInOnePass_AndListsTheOthersInTheElementsOrder) {
    const Document document = parsed(L"<E Tab=\"a\" 色=\"x\" tab=\"b\" Pos=\"\" xmlns:p=\"urn:p\"><Inner/></E>");
    const Element root = rootOf(document);
    std::wstring tab = L"old";
    std::wstring group = L"kept";
    std::wstring pos = L"old";
    AttributeField fields[] = {{L"Tab", &tab}, {L"Group", &group}, {L"Pos", &pos}, {L"色"}, {L""}};
    std::vector<std::wstring> others{L"before"};
    readAttributes(root, fields, &others);
    EXPECT_EQ(tab, L"a");
    EXPECT_EQ(group, L"kept");
    EXPECT_EQ(pos, L"");
    EXPECT_TRUE(fields[0].found);
    EXPECT_FALSE(fields[1].found);
    EXPECT_TRUE(fields[2].found);
    EXPECT_TRUE(fields[3].found) << "a field without a text is still marked found";
    EXPECT_FALSE(fields[4].found) << "an empty name names nothing";
    EXPECT_EQ(others, (std::vector<std::wstring>{L"before", L"tab", L"xmlns:p"}));

    AttributeField none[] = {{L"Tab"}};
    std::vector<std::wstring> all;
    readAttributes(root, none, 0, &all);
    EXPECT_EQ(all, root.attributeNames());
    readAttributes(selected(root, L"Inner").asElement(), none, &all);
    readAttributes(Element(), none, &all);
    EXPECT_EQ(all, root.attributeNames()) << "an element without attributes, or no element, adds none";
    EXPECT_FALSE(none[0].found);
}

// Handles are values: a copy, a moved-to handle and one walked from it all
// keep the document alive after every other handle is gone.
TEST(XmlHandles, CopiesAndMovesKeepTheDocumentAlive_AfterTheDocumentHandleIsGone) {
    Node first;
    Node moved;
    {
        Document document = parsed(L"<A><B n=\"1\"/><C/></A>");
        const Element root = rootOf(document);
        first = root.firstChild();
        Node copy = first.nextSibling();
        moved = std::move(copy);
        EXPECT_FALSE(copy) << "a moved-from handle is empty";
    }
    EXPECT_EQ(first.outerXml(), L"<B n=\"1\"/>");
    EXPECT_EQ(moved.name(), L"C");
    Node walked = moved;
    walked = walked.nextSibling();
    EXPECT_FALSE(walked);
    EXPECT_TRUE(checkNodeName(first.asElement(), L"B"));
}

// The node written may be the context itself, holding the last reference
// to its document.
TEST(XmlXPath, SelectSingleNode_SelectsFromTheNodeItWritesTo) {
    Node node;
    {
        Document document = parsed(L"<A><B><C n=\"deep\"/></B></A>");
        EXPECT_TRUE(enableXPath(document));
        node = selected(rootOf(document), L"B");
    }
    EXPECT_TRUE(selectSingleNode(node, node, L"C/@n"));
    EXPECT_EQ(textOf(node), L"deep");
    EXPECT_FALSE(selectSingleNode(node, node, L"nothing"));
    EXPECT_FALSE(node);
}

// --- XPath --------------------------------------------------------------

TEST(XmlXPath, SelectSingleNode_GivesTheFirstMatchInDocumentOrder_FromItsContext) {
    Document document = parsed(L"<A><B n=\"top\"/><C><B n=\"inner\"><D x=\"2\"/></B></C><E/></A>");
    EXPECT_TRUE(enableXPath(document));
    struct Case {
        const wchar_t* context;
        const wchar_t* expression;
        const wchar_t* selected; // an element's name, another node's outer XML; null for nothing
    };
    const Case cases[] = {
        {L"/A/C", L"B/@n", L"n=\"inner\""}, {L"/A/C", L"/A/B/@n", L"n=\"top\""}, {L"/A/C", L"C", nullptr},
        {L"//D", L"ancestor::*", L"A"},     {L"/A", L"//E | //D", L"D"},        {L"/A", L"(//*)[last()]", L"E"},
        {L"/A", L"C/B/D/@y", nullptr},      {L"/A", L"", nullptr},              {L"/A", L"C[", nullptr},
        {L"/A", L"//", nullptr},            {L"/A", L"1 + 1", nullptr},         {L"/A", L"$variable", nullptr},
        {L"/A", L"C]]", nullptr},           {L"/A", L"count(*)", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.expression).size());
        Node node = rootOf(document);
        EXPECT_EQ(selectSingleNode(node, selected(rootOf(document), c.context), c.expression), c.selected != nullptr);
        EXPECT_EQ(node.isElement() ? node.name() : node.outerXml(), c.selected ? c.selected : L"");
    }
    const Node attribute = selected(rootOf(document), L"//@x");
    EXPECT_FALSE(attribute.isElement());
    EXPECT_EQ(textOf(attribute), L"2");
    Node node;
    EXPECT_FALSE(selectSingleNode(node, Node(), L"A"));
    Document empty;
    EXPECT_FALSE(enableXPath(empty));
}

// The expression itself is compiled: wrapped in a union, "a) | (b" would
// read as one.
TEST(XmlXPath, CompilesToNodeSet_OnlyForAWholeExpressionThatGivesNodes) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"View/Grid", true},    {L"/Root/Colors[@Kind='a' and position() = 1] | //Other", true},
        {L"(//*)[last()]", true}, {L"..", true},
        {L"@Name", true},        {L"ancestor-or-self::*[count(*) > 1]", true},
        {L"", false},            {L"a) | (b", false},
        {L"Colors[", false},     {L"//", false},
        {L"C]]", false},         {L"$variable", false},
        {L"count(*)", false},    {L"1 + 1", false},
        {L"'View'", false},      {L"not(View)", false},
    };
    for (const auto& [expression, nodeSet] : cases)
        EXPECT_EQ(compilesToNodeSet(expression), nodeSet) << expression;
}

// Settings edits mostly select by a bare element name or "."; expressions
// that only start like one still have to compile.
TEST(XmlXPath, CompilesToNodeSet_ForBareNames_ButNotForWhatOnlyStartsLikeOne) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"Release2", true},  {L"_", true},          {L"a1b2_C3", true},  {L".", true},
        {L"Release2 ", true}, {L"x-1", true},        {L"Release2/.", true},
        {L"2x", false},       {L"a b", false},       {L"Release2(", false}, {L".x", false},
    };
    for (const auto& [expression, nodeSet] : cases)
        EXPECT_EQ(compilesToNodeSet(expression), nodeSet) << expression;
}

// --- Editing ------------------------------------------------------------

// As a setting edit does: a fragment of the definition is kept as text and
// copied, child by child, into a settings file.
TEST(XmlEdit, AppendChild_CopiesAFragmentFromAnotherDocument_ThatTheNodeKeptAlive) {
    Document target = parsed(L"<?xml version=\"1.0\"?>\n<Settings>\n  <Layers/>\n</Settings>\n");
    Node fragment;
    {
        const Document definition =
            parsed(L"<Def><AddNode XPath=\"Layers\"><Layer Name=\"外形線 &amp; 寸法\"><![CDATA[<raw> & ]]></Layer>"
                   L"<!-- 追加 --> </AddNode></Def>");
        fragment = selected(rootOf(definition), L"AddNode");
    }
    const std::wstring stored = fragment.outerXml();
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

TEST(XmlEdit, AppendChild_CopiesIntoOwnDescendant_AndRaisesDomError_WhenTheResultWouldNotBeADocument) {
    const Document document = parsed(L"<!--top--><A>text<B><C/></B></A>");
    const Node top = selected(rootOf(document), L"/");
    const Node b = selected(rootOf(document), L"B");
    selected(b, L"C").appendChild(b);
    EXPECT_THROW(top.appendChild(rootOf(document)), DomError) << "a second document element";
    EXPECT_THROW(top.appendChild(rootOf(document).firstChild()), DomError) << "text at document level";
    EXPECT_THROW(rootOf(document).firstChild().appendChild(rootOf(document)), DomError) << "a child of text";
    EXPECT_THROW(rootOf(document).appendChild(Node()), DomError);
    EXPECT_THROW(Node().appendChild(rootOf(document)), DomError);
    EXPECT_THROW(rootOf(document).appendChild(top), DomError);
    top.appendChild(top.firstChild());
    EXPECT_EQ(top.outerXml(), L"<!--top--><A>text<B><C><B><C/></B></C></B></A><!--top-->");
}

TEST(XmlEdit, NewDocument_LaidOutByAppendText_SavesAndLoadsBackToTheSameBytes) {
    TempFolder folder;
    const Document document = Document::create(L"Display");
    const Element root = rootOf(document);
    root.appendText(L"\n  ");
    const Element type = root.appendElement(L"LayoutType");
    type.setAttribute(L"Name", L"A");
    type.setAttribute(L"Note", L"a<b & \"c\"");
    type.setAttribute(L"Name", L"B");
    type.appendText(L"\n    ");
    type.appendElement(L"LayoutMode").appendText(L"a<b & c>\t]]>");
    type.appendText(L"\n  ");
    root.appendText(L"\n");
    root.appendElement(L"Empty").appendText(L"");
    root.appendText(L"\n");
    const std::string expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<Display>\n"
                                 "  <LayoutType Name=\"B\" Note=\"a&lt;b &amp; &quot;c&quot;\">\n"
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

TEST(XmlEdit, AppendTextAndNewNames_RaiseDomError_WhereThereIsNoElementOrNoXmlName) {
    const Document document = parsed(L"<Root a=\"1\">text</Root>");
    EXPECT_THROW(selected(rootOf(document), L"/").appendText(L"\n"), DomError) << "text at document level";
    EXPECT_THROW(rootOf(document).firstChild().appendText(L"more"), DomError) << "a child of text";
    EXPECT_THROW(selected(rootOf(document), L"@a").appendText(L"x"), DomError) << "a child of an attribute";
    EXPECT_THROW(Node().appendText(L"x"), DomError);
    for (const auto* bad : {L"", L"a b", L"1st", L"-x", L"a<b", L"a/b", L"a=b", L"a\"b"}) {
        EXPECT_THROW(rootOf(document).appendElement(bad), DomError) << std::wstring(bad).size();
        EXPECT_THROW(rootOf(document).setAttribute(bad, L"v"), DomError) << std::wstring(bad).size();
        EXPECT_THROW(Document::create(bad), DomError) << std::wstring(bad).size();
    }
    EXPECT_EQ(rootOf(document).outerXml(), L"<Root a=\"1\">text</Root>");
    rootOf(document).appendElement(L"寸法_1.x-y");
    EXPECT_EQ(rootOf(document).outerXml(), L"<Root a=\"1\">text<寸法_1.x-y/></Root>");
}

TEST(XmlEdit, EmptyEndTaggedElement_KeepsItsEndTag_UntilItGetsContent) {
    const Document document = parsed(L"<Root><A></A><B x=\"/>\"></B><C/></Root>");
    EXPECT_EQ(rootOf(document).outerXml(), L"<Root><A></A><B x=\"/>\"></B><C/></Root>");
    EXPECT_FALSE(selected(rootOf(document), L"A").firstChild()) << "no node stands for the end tag";
    selected(rootOf(document), L"A").appendElement(L"In");
    EXPECT_EQ(selected(rootOf(document), L"A").outerXml(), L"<A><In/></A>");
}

// A file loaded only to be read gives the same elements, attributes, text
// and lines, and is never written back.
TEST_F(XmlFile, LoadForReading_ReadsWhatLoadReads_AndTheDocumentCannotBeSaved) {
    const std::string bytes = "<?xml version=\"1.0\"?>\n<Root>\n  <A x=\"1 &amp; 2\"></A>\n\n  <B>\n    text </B>\n</Root>\n";
    writeFile(file, bytes);
    ASSERT_TRUE(loadForReading(document, path));
    const Element root = rootOf(document);
    std::vector<std::wstring> elements;
    for (Node child = root.firstChild(); child; child = child.nextSibling())
        if (child.isElement())
            elements.push_back(child.name() + L"@" + std::to_wstring(child.line()));
    EXPECT_EQ(elements, (std::vector<std::wstring>{L"A@3", L"B@5"}));
    std::wstring value;
    EXPECT_TRUE(readAttributeText(value, selected(root, L"A").asElement(), L"x"));
    EXPECT_EQ(value, L"1 & 2");
    EXPECT_EQ(textOf(selected(root, L"B")), L"\n    text ");
    EXPECT_FALSE(save(document, path));
    EXPECT_EQ(treeOf(folder.path()), Tree{"settings.xml=" + bytes});
}

// Removing a part that held an element written with an end tag must not
// leave the document pointing at what was removed: the save that follows
// prints the rest as it was, and what follows keeps its lines.
TEST_F(XmlFile, RemoveChild_TakesThePartOut_AndTheSaveWritesTheRestAsItWas) {
    const std::string bytes = "<?xml version=\"1.0\"?>\n<Root>\n  <A><In></In></A>\n  <B></B>\n  <C/>\n</Root>\n";
    writeFile(file, bytes);
    ASSERT_TRUE(load(document, path, false));
    const Element root = rootOf(document);
    EXPECT_THROW(root.removeChild(selected(root, L"A/In")), DomError) << "a grandchild";
    EXPECT_THROW(selected(root, L"C").removeChild(selected(root, L"B")), DomError) << "a sibling";
    EXPECT_THROW(root.removeChild(Node()), DomError);
    EXPECT_THROW(selected(root, L"/").removeChild(root), DomError) << "the document level keeps its element";
    root.removeChild(selected(root, L"A"));
    EXPECT_EQ(selected(root, L"C").line(), 5) << "the elements after it keep their lines";
    ASSERT_TRUE(save(document, path));
    EXPECT_EQ(readFile(file), "<?xml version=\"1.0\"?>\n<Root>\n  \n  <B></B>\n  <C/>\n</Root>\n");
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
    EXPECT_FALSE(node.firstChildElement());
    EXPECT_FALSE(node.nextSiblingElement());
    EXPECT_EQ(node.outerXml(), L"");
    EXPECT_NO_THROW(element.setAttribute(L"a", L"b"));
    EXPECT_EQ(element.attributeNames(), std::vector<std::wstring>{});
    std::wstring value = L"kept";
    EXPECT_FALSE(readAttributeText(value, element, L"a"));
    EXPECT_EQ(value, L"kept");
    Element root = rootOf(parsed(L"<Root/>"));
    EXPECT_FALSE(getRootElement(root, Document()));
    EXPECT_FALSE(root);
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
