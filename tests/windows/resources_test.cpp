// The compiled resources as the host and the dialog manager read them: the
// about box template field by field, the string table and the icon.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "main.h"

namespace {

// A resource of this program in US English, or an empty view.
std::vector<BYTE> EnglishResource(LPCSTR type, WORD id)
{
    const HMODULE module = GetModuleHandleA(NULL);
    const HRSRC found =
        FindResourceExA(module, type, MAKEINTRESOURCEA(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (found == NULL) return {};
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    return std::vector<BYTE>(data, data + SizeofResource(module, found));
}

// Reads packed little-endian fields in order; past the end it reads zeros
// and remembers the overrun.
class Reader {
public:
    explicit Reader(std::vector<BYTE> bytes) : bytes_(std::move(bytes)) {}
    template <typename T>
    T Read()
    {
        T value{};
        if (at_ + sizeof value <= bytes_.size()) std::memcpy(&value, &bytes_[at_], sizeof value);
        else overrun = true;
        at_ += sizeof value;
        return value;
    }
    // sz_Or_Ord: empty, a predefined class atom or a UTF-16 string.
    std::string NameOrOrdinal()
    {
        WORD c = Read<WORD>();
        if (c == 0xFFFF) {
            const WORD atom = Read<WORD>();
            return atom == 0x0080 ? "Button" : atom == 0x0082 ? "Static" : "#" + std::to_string(atom);
        }
        std::string text;
        for (; c != 0 && !overrun; c = Read<WORD>()) text += char(c);
        return text;
    }
    void AlignToDword() { at_ = (at_ + 3) & ~size_t(3); }
    bool overrun = false;

private:
    std::vector<BYTE> bytes_;
    size_t at_ = 0;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n') lines.emplace_back();
        else lines.back() += c;
    }
    return lines;
}

TEST(ResourcesTest, ConfigureDialogTemplateIsExact)
{
    const std::vector<BYTE> bytes = EnglishResource(RT_DIALOG, IDD_CONFIGURE);
    ASSERT_FALSE(bytes.empty()) << "no US English dialog 2003";
    Reader in(bytes);
    EXPECT_EQ(in.Read<WORD>(), 1);       // dlgVer
    EXPECT_EQ(in.Read<WORD>(), 0xFFFF);  // an extended template
    EXPECT_EQ(in.Read<DWORD>(), 0u);     // helpID
    EXPECT_EQ(in.Read<DWORD>(), 0u);     // exStyle
    // Nothing more: a system menu would bring a close box.
    EXPECT_EQ(in.Read<DWORD>(), DWORD(WS_POPUP | WS_CAPTION | DS_CENTER | DS_MODALFRAME | DS_SETFONT));
    const WORD count = in.Read<WORD>();
    EXPECT_EQ(count, 4);
    for (short want : {0, 0, 181, 194}) EXPECT_EQ(in.Read<short>(), want);
    EXPECT_EQ(in.NameOrOrdinal(), "");  // menu
    EXPECT_EQ(in.NameOrOrdinal(), "");  // the standard dialog class
    EXPECT_EQ(in.NameOrOrdinal(), "Lumenfall");
    EXPECT_EQ(in.Read<WORD>(), 8);  // point size
    EXPECT_EQ(in.Read<WORD>(), 0);  // weight
    EXPECT_EQ(in.Read<BYTE>(), 0);  // italic
    EXPECT_EQ(in.Read<BYTE>(), DEFAULT_CHARSET);
    EXPECT_EQ(in.NameOrOrdinal(), "MS Sans Serif");

    const DWORD child = WS_CHILD | WS_VISIBLE;
    const struct {
        DWORD style, ex_style;
        short x, y, cx, cy;
        int id;
        const char *window_class, *text;  // text nullptr: the about text, below
    } expected[] = {
        {child | WS_GROUP | SS_SUNKEN | SS_CENTER, WS_EX_TRANSPARENT, 25, 15, 131, 147, -1, "Static", nullptr},
        {child | WS_GROUP | SS_NOTIFY | SS_CENTERIMAGE | SS_CENTER, WS_EX_TRANSPARENT, 51, 68, 78, 14, IDC_MAILLINK,
         "Static", LUMENFALL_MAIL_ADDRESS},
        {child | WS_GROUP | SS_NOTIFY | SS_CENTER, WS_EX_TRANSPARENT, 55, 104, 71, 11, IDC_WEBLINK, "Static",
         LUMENFALL_WEB_HOST},
        {child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 65, 172, 50, 14, IDOK, "Button", "OK"},
    };
    std::string about;
    for (size_t i = 0; i < std::size(expected) && i < count; ++i) {
        const auto& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        in.AlignToDword();
        EXPECT_EQ(in.Read<DWORD>(), 0u);  // helpID
        EXPECT_EQ(in.Read<DWORD>(), want.ex_style);
        EXPECT_EQ(in.Read<DWORD>(), want.style);
        for (short v : {want.x, want.y, want.cx, want.cy}) EXPECT_EQ(in.Read<short>(), v);
        EXPECT_EQ(in.Read<int>(), want.id);
        EXPECT_EQ(in.NameOrOrdinal(), want.window_class);
        const std::string text = in.NameOrOrdinal();
        EXPECT_EQ(text, want.text != nullptr ? want.text : text);
        if (want.text == nullptr) about = text;
        EXPECT_EQ(in.Read<WORD>(), 0);  // no creation data
    }
    EXPECT_FALSE(in.overrun);

    // 17 lines; the links lie over the empty ones ("?": the maker's texts).
    const std::vector<std::string> lines = Lines(about);
    const char* fixed[] = {"", "Lumenfall", "", "Version 1.0", "", "?", "", "", "", "June 2001",
                           "", "", "", "", "?", "", "?"};
    ASSERT_EQ(lines.size(), std::size(fixed)) << about;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (std::strcmp(fixed[i], "?") == 0) EXPECT_FALSE(lines[i].empty()) << "line " << i + 1;
        else EXPECT_EQ(lines[i], fixed[i]) << "line " << i + 1;
    }
}

TEST(ResourcesTest, DescriptionStrings)
{
    for (UINT id : {IDS_DESCRIPTION, IDS_APP_NAME}) {
        char text[64] = {};
        EXPECT_EQ(LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text), 9) << id;
        EXPECT_STREQ(text, "Lumenfall") << id;
        // String tables are stored in blocks of sixteen.
        EXPECT_FALSE(EnglishResource(RT_STRING, WORD(id / 16 + 1)).empty()) << id;
    }
}

TEST(ResourcesTest, IconGroupHoldsOne32By32SixteenColourImage)
{
    Reader group(EnglishResource(RT_GROUP_ICON, IDI_LUMENFALL));
    EXPECT_EQ(group.Read<WORD>(), 0);  // reserved
    EXPECT_EQ(group.Read<WORD>(), 1);  // icons
    ASSERT_EQ(group.Read<WORD>(), 1);  // one image
    EXPECT_EQ(group.Read<BYTE>(), 32);
    EXPECT_EQ(group.Read<BYTE>(), 32);
    EXPECT_EQ(group.Read<BYTE>(), 16);  // colours
    group.Read<BYTE>();
    group.Read<WORD>();  // planes
    EXPECT_EQ(group.Read<WORD>(), 4);  // bits per pixel
    group.Read<DWORD>();
    const std::vector<BYTE> image = EnglishResource(RT_ICON, group.Read<WORD>());
    EXPECT_FALSE(group.overrun);

    BITMAPINFOHEADER header;
    const size_t palette = 16 * sizeof(RGBQUAD), colour = 32 * 16, mask = 32 * 4;
    ASSERT_EQ(image.size(), sizeof header + palette + colour + mask);
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);  // colour and mask
    EXPECT_EQ(header.biBitCount, 4);
    // A picture on a see-through ground, not an empty or filled square.
    int opaque = 0;
    for (size_t i = image.size() - mask; i < image.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) opaque += (image[i] >> bit & 1) == 0;
    }
    EXPECT_GT(opaque, 100);
    EXPECT_LT(opaque, 32 * 32 * 2 / 3);
    EXPECT_NE(LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_LUMENFALL), IMAGE_ICON, 32, 32, 0), nullptr);
}

}  // namespace
