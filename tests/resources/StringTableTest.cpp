// The string table as the program loads it from its own resources: every text exactly as
// the user must see it, none missing, none beyond them, and each within the loaders' buffers.
#include "base/StringTable.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

struct TableEntry {
    unsigned id;
    const wchar_t* text;
};

const TableEntry kExpectedEntries[] = {
    {5001, L"SCENOVA"},
    {5002, L"バージョン情報がありません"},
    {5003, L"フォルダを選択してください。"},
    {5004, L"指定されたフォルダを選択できません。"},
    {5005, L"警告"},
    {5006, L"車載プログラムがバンドルされていないため、展開できません。"},
    {5007, L"一部のファイルの展開に失敗しました。"},
    {5008, L"標準の音量"},
    {5009, L"標準の明るさ"},
    {5010, L"フォルダを開く"},
    {5011, L"SDメモリーカードのドライブを選択してください。"},
    {5012, L"設定ファイルを書き込みます。よろしいですか？"},
    {5013, L"確認"},
    {5014, L"時刻の範囲が正しくありません。"},
    {5015, L"分の範囲が正しくありません。"},
    {5016, L"設定ファイルを書き込みました。"},
    {5017, L"情報"},
    {5018, L"エラー"},
    {5019, L"設定ファイルを読み込めません。"},
    {5020, L"設定ファイルを書き込めません。"},
    {5021, L"日時が有効な範囲にありません。"},
    {5022, L"SDメモリーカードのドライブを選択してください。"},
    {5023, L"設定ファイルを書き込みます。よろしいですか？"},
    {5024, L"設定ファイルを書き込みました。"},
    {5025, L"映像情報が欠落しているため、一部の情報は正常に表示されません。"},
    {5026, L"一時ファイルを作成できません。"},
    {5027, L"キャビネット以外のエラーです。"},
    {5028, L"キャビネットが見つかりません。"},
    {5029, L"キャビネットではありません。"},
    {5030, L"キャビネットのバージョンが不明です。"},
    {5031, L"壊れたキャビネットです。"},
    {5032, L"メモリ割り当てに失敗しました。"},
    {5033, L"圧縮形式が不明です。"},
    {5034, L"データの展開に失敗しました。"},
    {5035, L"ターゲットファイルの書き込みに失敗しました。"},
    {5036, L"セット中のキャビネットに異なる予約サイズがあります。"},
    {5037, L"fdintNEXT_CABINETが不正なキャビネットを返しました。"},
    {5038, L"ユーザによって中断されました。"},
    {5039, L"未定義のエラーです。"},
    {5040, L"ファイルの展開に失敗しました。"},
    {5041, L"一部のファイルの展開に失敗しました。"},
    {5042, L"フォルダの名前を取得できません。"},
    {5043, L"フォルダ内を列挙できません。"},
    {5044, L"フォルダを取得できません。"},
    {5045, L"メモリマネージャを取得できません。"},
    {5046, L"デスクトップフォルダを取得できません。"},
    {5047, L"フォルダをバインドできません。"},
    {5048, L"現在のフォルダの位置を取得できません。"},
    {5049, L"お使いのオペレーティングシステムのバージョンを識別できません。\r\nSCENOVAを正しく実行できないかもしれません。"},
    {5051, L"お使いのオペレーティングシステムではSCENOVAを正常に実行することができません。\r\nWindows XP以降で実行してください。"},
    {5054, L"COMを初期化できません。"},
    {5055, L"コモンコントロールを初期化できません。"},
    {5057, L"アプリケーション内でエラーが発生しました。"},
    {5058, L"ヘルプを表示できません。"},
    {5059, L"SCENOVAを終了しますか？"},
    {5060, L"別のSCENOVAで設定ダイアログを開いています。"},
    {5061, L"本体の動作に必要なファイルをSDメモリーカードに復元します。よろしいですか？"},
    {5062, L"以前の感度設定と音量設定を残しますか？\r\n\r\n「はい」の場合、以前の設定内容を残します。\r\n「いいえ」の場合、標準設定に戻します。"},
    {5063, L"SDメモリーカードを復元しました。"},
    {5064, L"一部のファイルが正しく書き込まれませんでした。"},
    {5065, L"次の記録データはありません。"},
    {5066, L"前の記録データはありません。"},
    {5069, L"デバイスがオープンされていません。"},
    {5070, L"Windowsのエラーです。エラーコード:%d"},
    {5071, L"復元するSDメモリーカードのドライブを選択してください。"},
    {5072, L"再生/一時停止"},
    {5073, L"停止"},
    {5074, L"前へ"},
    {5075, L"次へ"},
    {5076, L"コマ送り"},
    {5077, L"コマ戻し"},
    {5078, L"現在開いているフォルダが移動または削除されました。"},
    {5083, L"　簡易設定　"},
    {5084, L"　詳細設定　"},
    {5085, L"SCENOVA.exe"},
    {5086, L"https://www.scenova.example/support/"},
    {5087, L"0312"},
    {5088, L"連続記録データは%d分までしか再生できません。"},
    {5090, L"LAP LISTが消去されます。よろしいですか？"},
    {5091, L"前のチャプターへ"},
    {5092, L"次のチャプターへ"},
    {5501, L"音声データの復元に失敗しました"},
    {5505, L"該当データは存在しません。"},
    {5506, L"イベント記録表示モード"},
    {5507, L"画像記録表示モード"},
    {5508, L"連続記録表示モード"},
    {5510, L"該当データを読み込めません。"},
    {5511, L"イメージアーカイブを読み込めません。"},
    {5512, L"最初へ"},
    {5513, L"最後へ"},
    {5516, L"画像は600枚までしか表示できません。"},
    {5517, L"画像が移動または削除されました。"},
    {5518, L"LAP計測を開始/終了"},
    {5519, L"LAP計測/リセット"},
    {5520, L"LAP LISTを開く"},
    {5521, L"LAPを一つ戻す"},
    {5600, L"AVIファイル (*.avi)"},
    {5601, L"PNGファイル (*.png)"},
    {5602, L"CSVファイル (*.csv)"},
    {5603, L"AVIファイルに書き出しています..."},
    {5604, L"ファイルを書き出せませんでした。"},
    {5605, L"AVIファイルを書き出せませんでした。"},
    {5606, L"AVIファイルが2GBを超えるため書き出せません。"},
    {5607, L"表示中の画像がありません。"},
    {5608, L"走行データを書き出しています..."},
};

// The program loads every message into a buffer of 2048 wide characters and the support
// address into one of 260, both including the terminator.
constexpr std::size_t kMessageBufferChars = 2048;
constexpr std::size_t kPathBufferChars = 260;
constexpr unsigned kSupportAddressId = 5086;

// A string resource is a block of 16 entries; block n holds the ids (n - 1) * 16 to n * 16 - 1.
BOOL CALLBACK collectStringBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR blocks) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<unsigned>*>(blocks)->insert(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// Every id the program file's string table really holds, with its text.
std::map<unsigned, std::wstring> loadWholeTable() {
    std::set<unsigned> blocks;
    EnumResourceNamesW(GetModuleHandleW(nullptr), RT_STRING, collectStringBlock, reinterpret_cast<LONG_PTR>(&blocks));
    std::map<unsigned, std::wstring> table;
    for (unsigned block : blocks) {
        for (unsigned id = (block - 1) * 16; id < block * 16; ++id) {
            std::wstring text = loadString(id);
            if (!text.empty()) table[id] = text;
        }
    }
    return table;
}

std::string listIds(const std::set<unsigned>& ids) {
    std::ostringstream out;
    for (unsigned id : ids) out << ' ' << id;
    return out.str();
}

}  // namespace

TEST(StringTable, EveryEntryLoadsItsExactText) {
    for (const TableEntry& entry : kExpectedEntries)
        EXPECT_EQ(loadString(entry.id), entry.text) << "string " << entry.id;
}

TEST(StringTable, HoldsExactlyTheProgramsEntries) {
    std::map<unsigned, std::wstring> table = loadWholeTable();
    std::set<unsigned> expected;
    for (const TableEntry& entry : kExpectedEntries) expected.insert(entry.id);

    std::set<unsigned> missing, unexpected;
    for (unsigned id : expected)
        if (table.count(id) == 0) missing.insert(id);
    for (const auto& [id, text] : table)
        if (expected.count(id) == 0) unexpected.insert(id);
    EXPECT_TRUE(missing.empty()) << "missing:" << listIds(missing);
    EXPECT_TRUE(unexpected.empty()) << "not the program's:" << listIds(unexpected);
}

TEST(StringTable, EveryTextFitsTheBufferItIsLoadedInto) {
    for (const auto& [id, text] : loadWholeTable()) {
        std::size_t limit = id == kSupportAddressId ? kPathBufferChars : kMessageBufferChars;
        EXPECT_LT(text.size(), limit) << "string " << id;
    }
}

TEST(StringTable, PatternsTakeTheirNumberInPlaceOfTheField) {
    struct Case {
        unsigned id;
        const wchar_t* number;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {5070, L"1234", L"Windowsのエラーです。エラーコード:1234"},
        {5088, L"60", L"連続記録データは60分までしか再生できません。"},
        // A plain message handed an argument by mistake shows as it stands.
        {5510, L"60", L"該当データを読み込めません。"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatString(c.id, {c.number}), c.expected) << "string " << c.id;
}
