<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en_US">
<context>
    <name>Localizable</name>
    <message>
        <source>All</source>
        <translation>すべて</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>常時</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>イベント</translation>
    </message>
    <message>
        <source>Parking</source>
        <translation>駐車</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>モーション</translation>
    </message>
    <message>
        <source>Camcorder</source>
        <translation>カムコーダー</translation>
    </message>
    <message>
        <source>Myfolder</source>
        <translation>マイフォルダー</translation>
    </message>
    <message>
        <source>AI</source>
        <translation>AI</translation>
    </message>
    <message>
        <source>Etc.</source>
        <translation>その他</translation>
    </message>
    <message>
        <source>충격센서</source>
        <translation>Gセンサー</translation>
    </message>
    <message>
        <source>속도</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Video Playback Error</source>
        <translation>映像再生エラー</translation>
    </message>
    <message>
        <source>Can't Play File</source>
        <translation>ファイルを再生できません</translation>
    </message>
    <message>
        <source>Path Component Error</source>
        <translation>パスエラー</translation>
    </message>
    <message>
        <source>Please open another directory.</source>
        <translation>別のフォルダーを開いてください。</translation>
    </message>
    <message>
        <source>Please choose another directory..</source>
        <translation>別のフォルダーを選択してください。</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>不明なエラー</translation>
    </message>
    <message>
        <source>해당 영상에 GPS 정보가 없습니다.</source>
        <translation>この映像にはGPS情報がありません。</translation>
    </message>
    <message>
        <source>외장 GPS의 연결을 확인해 주세요.</source>
        <translation>外付けGPSの接続を確認してください。</translation>
    </message>
    <message>
        <source>지도를 표시할 수 없습니다.</source>
        <translation>地図を表示できません。</translation>
    </message>
    <message>
        <source>인터넷 연결을 확인해 주세요.</source>
        <translation>インターネット接続を確認してください。</translation>
    </message>
    <message>
        <source>Update to the latest version of KavrinPlayer.
 update now?</source>
        <translation>KavrinPlayerを最新バージョンにアップデートします。
今すぐアップデートしますか？</translation>
    </message>
    <message>
        <source>Notify</source>
        <translation>お知らせ</translation>
    </message>
    <message>
        <source>Player Version</source>
        <translation>プレーヤーのバージョン</translation>
    </message>
    <message>
        <source>The Language has changed.</source>
        <translation>言語が変更されました。</translation>
    </message>
    <message>
        <source>Please restart Kavrin Player</source>
        <translation>Kavrin Playerを再起動してください。</translation>
    </message>
    <message>
        <source>펌웨어 업데이트</source>
        <translation>ファームウェアのアップデート</translation>
    </message>
    <message>
        <source>현재 설치되어 있는 버전이 최신 펌웨어 입니다.</source>
        <translation>インストールされているファームウェアは最新バージョンです。</translation>
    </message>
    <message>
        <source>다운로드가 실패되었습니다. 다시 시도해 주세요.</source>
        <translation>ダウンロードに失敗しました。もう一度お試しください。</translation>
    </message>
    <message>
        <source>펌웨어 파일이 이미 존재합니다.</source>
        <translation>ファームウェアファイルはすでに存在します。</translation>
    </message>
    <message>
        <source>안전운전도우미 업데이트</source>
        <translation>安全運転支援データのアップデート</translation>
    </message>
    <message>
        <source>안전운전도우미 파일이 이미 존재합니다.</source>
        <translation>安全運転支援データのファイルはすでに存在します。</translation>
    </message>
    <message>
        <source>다운로드가 완료되었습니다.
적용하시려면 다운로드 받은 메모리카드를 블랙박스에 삽입 후 전원을 인가해 주세요.</source>
        <translation>ダウンロードが完了しました。
適用するには、ダウンロードしたメモリーカードをドライブレコーダーに挿入してから電源を入れてください。</translation>
    </message>
    <message>
        <source>The server answered with error %1.</source>
        <translation>サーバーがエラー %1 を返しました。</translation>
    </message>
    <message>
        <source>The server redirected the request too many times.</source>
        <translation>サーバーのリダイレクトが多すぎます。</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>サーバーからのデータが途絶えました。</translation>
    </message>
    <message>
        <source>The server did not send the whole page in time.</source>
        <translation>サーバーが時間内にページを送り終えませんでした。</translation>
    </message>
    <message>
        <source>The connection broke off before the whole file arrived.</source>
        <translation>ファイルをすべて受信する前に接続が切れました。</translation>
    </message>
    <message>
        <source>There is not enough free space on the memory card.</source>
        <translation>メモリーカードの空き容量が足りません。</translation>
    </message>
    <message>
        <source>There is not enough free space to save the file.</source>
        <translation>ファイルを保存する空き容量が足りません。</translation>
    </message>
    <message>
        <source>The memory card cannot be found.</source>
        <translation>メモリーカードが見つかりません。</translation>
    </message>
    <message>
        <source>The destination folder cannot be found.</source>
        <translation>保存先のフォルダーが見つかりません。</translation>
    </message>
    <message>
        <source>The file could not be written: no permission or a read-only disk.</source>
        <translation>ファイルを書き込めません。権限がないか、読み取り専用のディスクです。</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>ファイルを書き込めません。</translation>
    </message>
    <message>
        <source>The downloaded package is damaged or is not a zip archive.</source>
        <translation>ダウンロードしたパッケージが壊れているか、zip ファイルではありません。</translation>
    </message>
    <message>
        <source>The package holds links or names that lead outside the memory card, so it was not unpacked.</source>
        <translation>パッケージにメモリーカードの外を指すリンクや名前が含まれているため、展開しませんでした。</translation>
    </message>
    <message>
        <source>The package holds a file named like the player's own temporary files, so it was not unpacked.</source>
        <translation>パッケージにプレーヤーの一時ファイルと同じ名前のファイルがあるため、展開しませんでした。</translation>
    </message>
    <message>
        <source>The package is too large to unpack.</source>
        <translation>パッケージが大きすぎるため展開できません。</translation>
    </message>
    <message>
        <source>The package could not be unpacked; the memory card was left as it was.</source>
        <translation>パッケージを展開できませんでした。メモリーカードは元のままです。</translation>
    </message>
    <message>
        <source>The firmware version page could not be read.</source>
        <translation>ファームウェアのバージョン情報を読み込めません。</translation>
    </message>
    <message>
        <source>The update could not be downloaded.</source>
        <translation>アップデートをダウンロードできませんでした。</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>バックアップ</translation>
    </message>
    <message>
        <source>Copy the recording as a MOV clip with</source>
        <translation>録画をMOVクリップとしてコピーする内容</translation>
    </message>
    <message>
        <source>Video and sound</source>
        <translation>映像と音声</translation>
    </message>
    <message>
        <source>Video only</source>
        <translation>映像のみ</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>保存先</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>変更…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>キャプチャ</translation>
    </message>
    <message>
        <source>Save a still image of</source>
        <translation>静止画として保存する対象</translation>
    </message>
    <message>
        <source>The player window</source>
        <translation>プレーヤーのウィンドウ</translation>
    </message>
    <message>
        <source>The video</source>
        <translation>映像</translation>
    </message>
    <message>
        <source>The video and the map</source>
        <translation>映像と地図</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Kavrin Player Help</source>
        <translation>Kavrin Player ヘルプ</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>キーボード</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>スペースキー</translation>
    </message>
    <message>
        <source>Play / pause</source>
        <translation>再生 / 一時停止</translation>
    </message>
    <message>
        <source>Back / forward 10 seconds</source>
        <translation>10秒戻る / 進む</translation>
    </message>
    <message>
        <source>Volume up / down</source>
        <translation>音量を上げる / 下げる</translation>
    </message>
    <message>
        <source>Previous / next recording</source>
        <translation>前 / 次の録画</translation>
    </message>
    <message>
        <source>Speed 0.5x / 1.0x / 1.5x / 2.0x</source>
        <translation>再生速度 0.5x / 1.0x / 1.5x / 2.0x</translation>
    </message>
    <message>
        <source>Zoom out / in</source>
        <translation>縮小 / 拡大</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除キー</translation>
    </message>
    <message>
        <source>Remove the recording from the list</source>
        <translation>録画をリストから外す</translation>
    </message>
    <message>
        <source>F11 / Ctrl + Return</source>
        <translation>F11 / Ctrl + エンター</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>全画面表示</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Escキー</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>全画面表示を終了</translation>
    </message>
    <message>
        <source>Mouse</source>
        <translation>マウス</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>ダブルクリック</translation>
    </message>
    <message>
        <source>Play a recording of the list</source>
        <translation>リストの録画を再生</translation>
    </message>
    <message>
        <source>Right-click</source>
        <translation>右クリック</translation>
    </message>
    <message>
        <source>Capture or back up the video</source>
        <translation>映像のキャプチャまたはバックアップ</translation>
    </message>
    <message>
        <source>Drag</source>
        <translation>ドラッグ</translation>
    </message>
    <message>
        <source>Move a zoomed picture</source>
        <translation>拡大した画面を移動</translation>
    </message>
    <message>
        <source>1CH … ALL</source>
        <translation>1CH … すべて</translation>
    </message>
    <message>
        <source>Show one channel or all of them</source>
        <translation>1チャンネルまたは全チャンネルを表示</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Find recordings by district</source>
        <translation>地域で録画を探す</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Visit the maker's web site</source>
        <translation>メーカーのウェブサイトを開く</translation>
    </message>
    <message>
        <source>Play position</source>
        <translation>再生位置</translation>
    </message>
    <message>
        <source>Open a folder</source>
        <translation>フォルダーを開く</translation>
    </message>
    <message>
        <source>Previous recording</source>
        <translation>前の録画</translation>
    </message>
    <message>
        <source>Back 10 seconds</source>
        <translation>10秒戻る</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Forward 10 seconds</source>
        <translation>10秒進む</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>次の録画</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>消音</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Play speed</source>
        <translation>再生速度</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>白黒</translation>
    </message>
    <message>
        <source>Black and white</source>
        <translation>白黒で表示</translation>
    </message>
    <message>
        <source>Next channel</source>
        <translation>次のチャンネル</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>リピート</translation>
    </message>
    <message>
        <source>Back up</source>
        <translation>バックアップ</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>モデル</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>バージョン</translation>
    </message>
    <message>
        <source>Channel 1</source>
        <translation>チャンネル1</translation>
    </message>
    <message>
        <source>Channel 2</source>
        <translation>チャンネル2</translation>
    </message>
    <message>
        <source>Channel 3</source>
        <translation>チャンネル3</translation>
    </message>
    <message>
        <source>Channel 4</source>
        <translation>チャンネル4</translation>
    </message>
    <message>
        <source>ALL</source>
        <translation>すべて</translation>
    </message>
    <message>
        <source>All channels</source>
        <translation>全チャンネル</translation>
    </message>
    <message>
        <source>Enlarge the window</source>
        <translation>ウィンドウを大きくする</translation>
    </message>
    <message>
        <source>G-SENSOR</source>
        <translation>Gセンサー</translation>
    </message>
    <message>
        <source>GPS Off</source>
        <translation>GPS オフ</translation>
    </message>
    <message>
        <source>Recording kind</source>
        <translation>録画の種類</translation>
    </message>
    <message>
        <source>Search district</source>
        <translation>地域を検索</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>ダウンロード</translation>
    </message>
    <message>
        <source>Downloading the installer</source>
        <translation>インストーラーをダウンロード中</translation>
    </message>
    <message>
        <source>0 bytes</source>
        <translation>0 バイト</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>Check for a new version at start-up</source>
        <translation>起動時に新しいバージョンを確認</translation>
    </message>
    <message>
        <source>Memory card</source>
        <translation>メモリーカード</translation>
    </message>
    <message>
        <source>Memory card downloads</source>
        <translation>メモリーカードへのダウンロード</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>ファームウェア</translation>
    </message>
    <message>
        <source>Speed cameras</source>
        <translation>安全運転支援データ</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>アップデート</translation>
    </message>
    <message>
        <source>GPS On</source>
        <translation>GPS オン</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時刻</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>チャンネル</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>場所</translation>
    </message>
    <message>
        <source>Choose video file or directory</source>
        <translation>映像ファイルまたはフォルダーを選択してください</translation>
    </message>
    <message>
        <source>Save a still image</source>
        <translation>静止画を保存</translation>
    </message>
    <message>
        <source>Back up with sound</source>
        <translation>バックアップ（映像と音声）</translation>
    </message>
    <message>
        <source>Back up video only</source>
        <translation>バックアップ（映像のみ）</translation>
    </message>
    <message>
        <source>You don't have permission to write in this folder.</source>
        <translation>このフォルダーに書き込む権限がありません。</translation>
    </message>
    <message>
        <source>The folder is on a read-only disk.</source>
        <translation>フォルダーは読み取り専用のディスクにあります。</translation>
    </message>
    <message>
        <source>No space left on device.</source>
        <translation>ディスクの空き容量がありません。</translation>
    </message>
    <message>
        <source>The file is too large for the disk.</source>
        <translation>ファイルが大きすぎるため、このディスクに保存できません。</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>フォルダーが存在しません。</translation>
    </message>
    <message>
        <source>A folder of the same name is in the way.</source>
        <translation>同じ名前のフォルダーがあるため保存できません。</translation>
    </message>
    <message>
        <source>Backup Error</source>
        <translation>バックアップエラー</translation>
    </message>
    <message>
        <source>These backup files could not be written:</source>
        <translation>次のバックアップファイルを保存できませんでした：</translation>
    </message>
    <message>
        <source>No video stream could be read from the recording.</source>
        <translation>録画ファイルから映像ストリームを読み取れませんでした。</translation>
    </message>
    <message>
        <source>The ffmpeg tool was not found.</source>
        <translation>ffmpeg ツールが見つかりません。</translation>
    </message>
    <message>
        <source>The video could not be copied.</source>
        <translation>映像をコピーできませんでした。</translation>
    </message>
    <message>
        <source>This is not a file name.</source>
        <translation>ファイル名ではありません。</translation>
    </message>
    <message>
        <source>The recording cannot be read: it is not a regular file.</source>
        <translation>録画ファイルを読み込めません：通常のファイルではありません。</translation>
    </message>
    <message>
        <source>Backup Complete</source>
        <translation>バックアップ完了</translation>
    </message>
    <message>
        <source>The backup was saved in the folder “%1”:</source>
        <translation>バックアップを「%1」フォルダーに保存しました：</translation>
    </message>
    <message>
        <source>The recording has no sound: the video was copied without it.</source>
        <translation>録画ファイルに音声がないため、映像のみをコピーしました。</translation>
    </message>
    <message>
        <source>Capture Failed</source>
        <translation>キャプチャ失敗</translation>
    </message>
    <message>
        <source>The video frame could not be read.</source>
        <translation>映像のフレームを読み取れませんでした。</translation>
    </message>
    <message>
        <source>The player window could not be captured.</source>
        <translation>プレーヤーのウィンドウをキャプチャできませんでした。</translation>
    </message>
    <message>
        <source>The file “%1” could not be saved in the folder “%2”.</source>
        <translation>ファイル「%1」をフォルダー「%2」に保存できませんでした。</translation>
    </message>
    <message>
        <source>Choose directory to save</source>
        <translation>保存先のフォルダーを選択してください</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>This service is not configured.</source>
        <translation>このサービスは設定されていません。</translation>
    </message>
</context>
</TS>
