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
        <translation>영상 재생 오류</translation>
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
        <source>The server answered with error %1.</source>
        <translation>서버가 오류 %1(으)로 응답했습니다.</translation>
    </message>
    <message>
        <source>The server redirected the request too many times.</source>
        <translation>서버가 요청을 너무 여러 번 다른 주소로 넘겼습니다.</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>서버가 데이터를 더 보내지 않습니다.</translation>
    </message>
    <message>
        <source>The server did not send the whole page in time.</source>
        <translation>서버가 제한 시간 안에 페이지를 모두 보내지 않았습니다.</translation>
    </message>
    <message>
        <source>The connection broke off before the whole file arrived.</source>
        <translation>파일을 모두 받기 전에 연결이 끊겼습니다.</translation>
    </message>
    <message>
        <source>There is not enough free space on the memory card.</source>
        <translation>메모리카드의 남은 공간이 부족합니다.</translation>
    </message>
    <message>
        <source>There is not enough free space to save the file.</source>
        <translation>파일을 저장할 공간이 부족합니다.</translation>
    </message>
    <message>
        <source>The memory card cannot be found.</source>
        <translation>메모리카드를 찾을 수 없습니다.</translation>
    </message>
    <message>
        <source>The destination folder cannot be found.</source>
        <translation>저장할 폴더를 찾을 수 없습니다.</translation>
    </message>
    <message>
        <source>The file could not be written: no permission or a read-only disk.</source>
        <translation>파일을 쓸 수 없습니다. 권한이 없거나 읽기 전용 디스크입니다.</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>파일을 쓸 수 없습니다.</translation>
    </message>
    <message>
        <source>The downloaded package is damaged or is not a zip archive.</source>
        <translation>받은 패키지가 손상되었거나 zip 파일이 아닙니다.</translation>
    </message>
    <message>
        <source>The package holds links or names that lead outside the memory card, so it was not unpacked.</source>
        <translation>패키지에 메모리카드 밖을 가리키는 링크나 이름이 있어 압축을 풀지 않았습니다.</translation>
    </message>
    <message>
        <source>The package holds a file named like the player's own temporary files, so it was not unpacked.</source>
        <translation>패키지에 플레이어의 임시 파일과 같은 이름의 파일이 있어 압축을 풀지 않았습니다.</translation>
    </message>
    <message>
        <source>The package is too large to unpack.</source>
        <translation>패키지가 너무 커서 압축을 풀 수 없습니다.</translation>
    </message>
    <message>
        <source>The package could not be unpacked; the memory card was left as it was.</source>
        <translation>패키지의 압축을 풀지 못했습니다. 메모리카드는 그대로입니다.</translation>
    </message>
    <message>
        <source>The firmware version page could not be read.</source>
        <translation>펌웨어 버전 정보를 읽을 수 없습니다.</translation>
    </message>
    <message>
        <source>The update could not be downloaded.</source>
        <translation>업데이트를 다운로드하지 못했습니다.</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>백업</translation>
    </message>
    <message>
        <source>Copy the recording as a MOV clip with</source>
        <translation>녹화 영상을 MOV 클립으로 복사할 내용</translation>
    </message>
    <message>
        <source>Video and sound</source>
        <translation>영상과 소리</translation>
    </message>
    <message>
        <source>Video only</source>
        <translation>영상만</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>저장 위치</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>변경…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>저장</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>캡처</translation>
    </message>
    <message>
        <source>Save a still image of</source>
        <translation>스틸 이미지로 저장할 대상</translation>
    </message>
    <message>
        <source>The player window</source>
        <translation>플레이어 창</translation>
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
        <source>Help</source>
        <translation>도움말</translation>
    </message>
    <message>
        <source>Kavrin Player Help</source>
        <translation>Kavrin Player 도움말</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>키보드</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>스페이스바</translation>
    </message>
    <message>
        <source>Play / pause</source>
        <translation>재생 / 일시 정지</translation>
    </message>
    <message>
        <source>Back / forward 10 seconds</source>
        <translation>10초 뒤로 / 앞으로</translation>
    </message>
    <message>
        <source>Volume up / down</source>
        <translation>볼륨 크게 / 작게</translation>
    </message>
    <message>
        <source>Previous / next recording</source>
        <translation>이전 / 다음 녹화 영상</translation>
    </message>
    <message>
        <source>Speed 0.5x / 1.0x / 1.5x / 2.0x</source>
        <translation>재생 속도 0.5x / 1.0x / 1.5x / 2.0x</translation>
    </message>
    <message>
        <source>Zoom out / in</source>
        <translation>축소 / 확대</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>삭제 키</translation>
    </message>
    <message>
        <source>Remove the recording from the list</source>
        <translation>목록에서 녹화 영상 제거</translation>
    </message>
    <message>
        <source>F11 / Ctrl + Return</source>
        <translation>F11 / Ctrl + 엔터</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>전체 화면</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc 키</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>전체 화면 끝내기</translation>
    </message>
    <message>
        <source>Mouse</source>
        <translation>마우스</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>더블 클릭</translation>
    </message>
    <message>
        <source>Play a recording of the list</source>
        <translation>목록의 녹화 영상 재생</translation>
    </message>
    <message>
        <source>Right-click</source>
        <translation>오른쪽 클릭</translation>
    </message>
    <message>
        <source>Capture or back up the video</source>
        <translation>영상 캡처 또는 백업</translation>
    </message>
    <message>
        <source>Drag</source>
        <translation>드래그</translation>
    </message>
    <message>
        <source>Move a zoomed picture</source>
        <translation>확대한 화면 이동</translation>
    </message>
    <message>
        <source>1CH … ALL</source>
        <translation>1CH … 전체</translation>
    </message>
    <message>
        <source>Show one channel or all of them</source>
        <translation>채널 하나 또는 전체 보기</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>검색</translation>
    </message>
    <message>
        <source>Find recordings by district</source>
        <translation>지역으로 녹화 영상 찾기</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Visit the maker's web site</source>
        <translation>제조사 웹사이트 방문</translation>
    </message>
    <message>
        <source>Play position</source>
        <translation>재생 위치</translation>
    </message>
    <message>
        <source>Open a folder</source>
        <translation>폴더 열기</translation>
    </message>
    <message>
        <source>Previous recording</source>
        <translation>이전 녹화 영상</translation>
    </message>
    <message>
        <source>Back 10 seconds</source>
        <translation>10초 뒤로</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>정지</translation>
    </message>
    <message>
        <source>Forward 10 seconds</source>
        <translation>10초 앞으로</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>다음 녹화 영상</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>음소거</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>확대</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>속도</translation>
    </message>
    <message>
        <source>Play speed</source>
        <translation>재생 속도</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>흑백</translation>
    </message>
    <message>
        <source>Black and white</source>
        <translation>흑백으로 보기</translation>
    </message>
    <message>
        <source>Next channel</source>
        <translation>다음 채널</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>반복</translation>
    </message>
    <message>
        <source>Back up</source>
        <translation>백업</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>모델</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>버전</translation>
    </message>
    <message>
        <source>Channel 1</source>
        <translation>채널 1</translation>
    </message>
    <message>
        <source>Channel 2</source>
        <translation>채널 2</translation>
    </message>
    <message>
        <source>Channel 3</source>
        <translation>채널 3</translation>
    </message>
    <message>
        <source>Channel 4</source>
        <translation>채널 4</translation>
    </message>
    <message>
        <source>ALL</source>
        <translation>전체</translation>
    </message>
    <message>
        <source>All channels</source>
        <translation>모든 채널</translation>
    </message>
    <message>
        <source>Enlarge the window</source>
        <translation>창 크게 보기</translation>
    </message>
    <message>
        <source>G-SENSOR</source>
        <translation>충격센서</translation>
    </message>
    <message>
        <source>GPS Off</source>
        <translation>GPS 꺼짐</translation>
    </message>
    <message>
        <source>Recording kind</source>
        <translation>녹화 종류</translation>
    </message>
    <message>
        <source>Search district</source>
        <translation>지역 검색</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>다운로드</translation>
    </message>
    <message>
        <source>Downloading the installer</source>
        <translation>설치 파일을 다운로드하는 중</translation>
    </message>
    <message>
        <source>0 bytes</source>
        <translation>0 바이트</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>언어</translation>
    </message>
    <message>
        <source>Check for a new version at start-up</source>
        <translation>시작할 때 새 버전 확인</translation>
    </message>
    <message>
        <source>Memory card</source>
        <translation>메모리카드</translation>
    </message>
    <message>
        <source>Memory card downloads</source>
        <translation>메모리카드 다운로드</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>펌웨어</translation>
    </message>
    <message>
        <source>Speed cameras</source>
        <translation>안전운전도우미</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>업데이트</translation>
    </message>
    <message>
        <source>GPS On</source>
        <translation>GPS 켜짐</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>날짜</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>시간</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>채널</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>위치</translation>
    </message>
    <message>
        <source>Choose video file or directory</source>
        <translation>영상 파일 또는 폴더를 선택하세요</translation>
    </message>
    <message>
        <source>Save a still image</source>
        <translation>스틸 이미지 저장</translation>
    </message>
    <message>
        <source>Back up with sound</source>
        <translation>백업 (영상과 소리)</translation>
    </message>
    <message>
        <source>Back up video only</source>
        <translation>백업 (영상만)</translation>
    </message>
    <message>
        <source>You don't have permission to write in this folder.</source>
        <translation>이 폴더에 쓸 권한이 없습니다.</translation>
    </message>
    <message>
        <source>The folder is on a read-only disk.</source>
        <translation>폴더가 읽기 전용 디스크에 있습니다.</translation>
    </message>
    <message>
        <source>No space left on device.</source>
        <translation>디스크에 남은 공간이 없습니다.</translation>
    </message>
    <message>
        <source>The file is too large for the disk.</source>
        <translation>파일이 너무 커서 이 디스크에 저장할 수 없습니다.</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>폴더가 존재하지 않습니다.</translation>
    </message>
    <message>
        <source>A folder of the same name is in the way.</source>
        <translation>같은 이름의 폴더가 있어 저장할 수 없습니다.</translation>
    </message>
    <message>
        <source>Backup Error</source>
        <translation>백업 오류</translation>
    </message>
    <message>
        <source>These backup files could not be written:</source>
        <translation>다음 백업 파일을 저장할 수 없습니다:</translation>
    </message>
    <message>
        <source>No video stream could be read from the recording.</source>
        <translation>녹화 파일에서 영상 스트림을 읽을 수 없습니다.</translation>
    </message>
    <message>
        <source>The ffmpeg tool was not found.</source>
        <translation>ffmpeg 도구를 찾을 수 없습니다.</translation>
    </message>
    <message>
        <source>The video could not be copied.</source>
        <translation>영상을 복사할 수 없습니다.</translation>
    </message>
    <message>
        <source>This is not a file name.</source>
        <translation>파일 이름이 아닙니다.</translation>
    </message>
    <message>
        <source>The recording cannot be read: it is not a regular file.</source>
        <translation>녹화 파일을 읽을 수 없습니다: 일반 파일이 아닙니다.</translation>
    </message>
    <message>
        <source>Backup Complete</source>
        <translation>백업 완료</translation>
    </message>
    <message>
        <source>The backup was saved in the folder “%1”:</source>
        <translation>백업이 “%1” 폴더에 저장되었습니다:</translation>
    </message>
    <message>
        <source>The recording has no sound: the video was copied without it.</source>
        <translation>녹화 파일에 소리가 없어 영상만 복사했습니다.</translation>
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
        <translation>플레이어 창을 캡처할 수 없습니다.</translation>
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
        <source>This service is not configured.</source>
        <translation>이 서비스는 설정되어 있지 않습니다.</translation>
    </message>
</context>
</TS>
