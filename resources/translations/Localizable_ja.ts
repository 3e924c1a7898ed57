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
        <translation>マイフォルダ</translation>
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
        <translation>衝撃センサー</translation>
    </message>
    <message>
        <source>속도</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Video Playback Error</source>
        <translation>動画再生エラー</translation>
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
        <translation>別のフォルダを開いてください。</translation>
    </message>
    <message>
        <source>Please choose another directory..</source>
        <translation>別のフォルダを選択してください。</translation>
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
        <source>Capture Failed</source>
        <translation>キャプチャ失敗</translation>
    </message>
    <message>
        <source>The video frame could not be read.</source>
        <translation>映像のフレームを読み取れませんでした。</translation>
    </message>
    <message>
        <source>The player window could not be captured.</source>
        <translation>プレーヤー画面をキャプチャできませんでした。</translation>
    </message>
    <message>
        <source>The file “%1” could not be saved in the folder “%2”.</source>
        <translation>ファイル“%1”をフォルダ“%2”に保存できませんでした。</translation>
    </message>
    <message>
        <source>Choose directory to save</source>
        <translation>保存先のフォルダを選択してください</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>キャプチャ</translation>
    </message>
    <message>
        <source>Save a still image of</source>
        <translation>保存する画像</translation>
    </message>
    <message>
        <source>The player window</source>
        <translation>プレーヤー画面全体</translation>
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
        <source>Save to</source>
        <translation>保存先</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>変更…</translation>
    </message>
</context>
</TS>
