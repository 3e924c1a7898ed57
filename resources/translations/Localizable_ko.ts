<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR" sourcelanguage="en_US">
<context>
    <name>Localizable</name>
    <message>
        <source>All</source>
        <translation>전체</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>상시</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>이벤트</translation>
    </message>
    <message>
        <source>Parking</source>
        <translation>주차</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>모션</translation>
    </message>
    <message>
        <source>Camcorder</source>
        <translation>캠코더</translation>
    </message>
    <message>
        <source>Myfolder</source>
        <translation>내 폴더</translation>
    </message>
    <message>
        <source>AI</source>
        <translation>AI</translation>
    </message>
    <message>
        <source>Etc.</source>
        <translation>기타</translation>
    </message>
    <message>
        <source>충격센서</source>
        <translation>충격센서</translation>
    </message>
    <message>
        <source>속도</source>
        <translation>속도</translation>
    </message>
    <message>
        <source>Video Playback Error</source>
        <translation>동영상 재생 오류</translation>
    </message>
    <message>
        <source>Can't Play File</source>
        <translation>파일을 재생할 수 없습니다</translation>
    </message>
    <message>
        <source>Path Component Error</source>
        <translation>경로 오류</translation>
    </message>
    <message>
        <source>Please open another directory.</source>
        <translation>다른 폴더를 열어 주세요.</translation>
    </message>
    <message>
        <source>Please choose another directory..</source>
        <translation>다른 폴더를 선택해 주세요.</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>알 수 없는 오류</translation>
    </message>
    <message>
        <source>해당 영상에 GPS 정보가 없습니다.</source>
        <translation>해당 영상에 GPS 정보가 없습니다.</translation>
    </message>
    <message>
        <source>외장 GPS의 연결을 확인해 주세요.</source>
        <translation>외장 GPS의 연결을 확인해 주세요.</translation>
    </message>
    <message>
        <source>지도를 표시할 수 없습니다.</source>
        <translation>지도를 표시할 수 없습니다.</translation>
    </message>
    <message>
        <source>인터넷 연결을 확인해 주세요.</source>
        <translation>인터넷 연결을 확인해 주세요.</translation>
    </message>
    <message>
        <source>Update to the latest version of KavrinPlayer.
 update now?</source>
        <translation>KavrinPlayer를 최신 버전으로 업데이트합니다.
지금 업데이트하시겠습니까?</translation>
    </message>
    <message>
        <source>Notify</source>
        <translation>알림</translation>
    </message>
    <message>
        <source>Player Version</source>
        <translation>플레이어 버전</translation>
    </message>
    <message>
        <source>The Language has changed.</source>
        <translation>언어가 변경되었습니다.</translation>
    </message>
    <message>
        <source>Please restart Kavrin Player</source>
        <translation>Kavrin Player를 다시 시작해 주세요.</translation>
    </message>
    <message>
        <source>펌웨어 업데이트</source>
        <translation>펌웨어 업데이트</translation>
    </message>
    <message>
        <source>현재 설치되어 있는 버전이 최신 펌웨어 입니다.</source>
        <translation>현재 설치되어 있는 버전이 최신 펌웨어 입니다.</translation>
    </message>
    <message>
        <source>다운로드가 실패되었습니다. 다시 시도해 주세요.</source>
        <translation>다운로드가 실패되었습니다. 다시 시도해 주세요.</translation>
    </message>
    <message>
        <source>펌웨어 파일이 이미 존재합니다.</source>
        <translation>펌웨어 파일이 이미 존재합니다.</translation>
    </message>
    <message>
        <source>안전운전도우미 업데이트</source>
        <translation>안전운전도우미 업데이트</translation>
    </message>
    <message>
        <source>안전운전도우미 파일이 이미 존재합니다.</source>
        <translation>안전운전도우미 파일이 이미 존재합니다.</translation>
    </message>
    <message>
        <source>다운로드가 완료되었습니다.
적용하시려면 다운로드 받은 메모리카드를 블랙박스에 삽입 후 전원을 인가해 주세요.</source>
        <translation>다운로드가 완료되었습니다.
적용하시려면 다운로드 받은 메모리카드를 블랙박스에 삽입 후 전원을 인가해 주세요.</translation>
    </message>
    <message>
        <source>Save a still image</source>
        <translation>스틸 이미지 저장</translation>
    </message>
    <message>
        <source>Back up with sound</source>
        <translation>백업 (영상 및 소리)</translation>
    </message>
    <message>
        <source>Back up video only</source>
        <translation>백업 (영상만)</translation>
    </message>
    <message>
        <source>Capture Failed</source>
        <translation>캡처 실패</translation>
    </message>
    <message>
        <source>The video frame could not be read.</source>
        <translation>영상 프레임을 읽을 수 없습니다.</translation>
    </message>
    <message>
        <source>The player window could not be captured.</source>
        <translation>플레이어 화면을 캡처할 수 없습니다.</translation>
    </message>
    <message>
        <source>The file “%1” could not be saved in the folder “%2”.</source>
        <translation>“%1” 파일을 “%2” 폴더에 저장할 수 없습니다.</translation>
    </message>
    <message>
        <source>Choose directory to save</source>
        <translation>저장할 폴더를 선택하세요</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>캡처</translation>
    </message>
    <message>
        <source>Save a still image of</source>
        <translation>저장할 화면</translation>
    </message>
    <message>
        <source>The player window</source>
        <translation>플레이어 화면 전체</translation>
    </message>
    <message>
        <source>The video</source>
        <translation>영상</translation>
    </message>
    <message>
        <source>The video and the map</source>
        <translation>영상과 지도</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>저장 위치</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>변경…</translation>
    </message>
</context>
</TS>
