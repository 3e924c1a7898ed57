<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>Localizable</name>
    <message>
        <source>All</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>Parking</source>
        <translation>Parking</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Motion</translation>
    </message>
    <message>
        <source>Camcorder</source>
        <translation>Camcorder</translation>
    </message>
    <message>
        <source>Myfolder</source>
        <translation>My Folder</translation>
    </message>
    <message>
        <source>AI</source>
        <translation>AI</translation>
    </message>
    <message>
        <source>Etc.</source>
        <translation>Etc.</translation>
    </message>
    <message>
        <source>충격센서</source>
        <translation>G-Sensor</translation>
    </message>
    <message>
        <source>속도</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Video Playback Error</source>
        <translation>Video Playback Error</translation>
    </message>
    <message>
        <source>Can't Play File</source>
        <translation>Can't Play File</translation>
    </message>
    <message>
        <source>Path Component Error</source>
        <translation>Path Component Error</translation>
    </message>
    <message>
        <source>Please open another directory.</source>
        <translation>Please open another directory.</translation>
    </message>
    <message>
        <source>Please choose another directory..</source>
        <translation>Please choose another directory.</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>해당 영상에 GPS 정보가 없습니다.</source>
        <translation>This video has no GPS information.</translation>
    </message>
    <message>
        <source>외장 GPS의 연결을 확인해 주세요.</source>
        <translation>Please check the connection of the external GPS.</translation>
    </message>
    <message>
        <source>지도를 표시할 수 없습니다.</source>
        <translation>The map cannot be displayed.</translation>
    </message>
    <message>
        <source>인터넷 연결을 확인해 주세요.</source>
        <translation>Please check your internet connection.</translation>
    </message>
    <message>
        <source>Update to the latest version of KavrinPlayer.
 update now?</source>
        <translation>Update to the latest version of KavrinPlayer.
Update now?</translation>
    </message>
    <message>
        <source>Notify</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>Player Version</source>
        <translation>Player Version</translation>
    </message>
    <message>
        <source>The Language has changed.</source>
        <translation>The language has been changed.</translation>
    </message>
    <message>
        <source>Please restart Kavrin Player</source>
        <translation>Please restart Kavrin Player.</translation>
    </message>
    <message>
        <source>펌웨어 업데이트</source>
        <translation>Firmware Update</translation>
    </message>
    <message>
        <source>현재 설치되어 있는 버전이 최신 펌웨어 입니다.</source>
        <translation>The installed firmware is already the latest version.</translation>
    </message>
    <message>
        <source>다운로드가 실패되었습니다. 다시 시도해 주세요.</source>
        <translation>The download failed. Please try again.</translation>
    </message>
    <message>
        <source>펌웨어 파일이 이미 존재합니다.</source>
        <translation>The firmware file already exists.</translation>
    </message>
    <message>
        <source>안전운전도우미 업데이트</source>
        <translation>Safe Driving Assistant Update</translation>
    </message>
    <message>
        <source>안전운전도우미 파일이 이미 존재합니다.</source>
        <translation>The Safe Driving Assistant file already exists.</translation>
    </message>
    <message>
        <source>다운로드가 완료되었습니다.
적용하시려면 다운로드 받은 메모리카드를 블랙박스에 삽입 후 전원을 인가해 주세요.</source>
        <translation>The download is complete.
To apply it, insert the memory card into the dash camera and then turn the power on.</translation>
    </message>
    <message>
        <source>Save a still image</source>
        <translation>Save a still image</translation>
    </message>
    <message>
        <source>Back up with sound</source>
        <translation>Back up with sound</translation>
    </message>
    <message>
        <source>Back up video only</source>
        <translation>Back up video only</translation>
    </message>
    <message>
        <source>Capture Failed</source>
        <translation>Capture Failed</translation>
    </message>
    <message>
        <source>The video frame could not be read.</source>
        <translation>The video frame could not be read.</translation>
    </message>
    <message>
        <source>The player window could not be captured.</source>
        <translation>The player window could not be captured.</translation>
    </message>
    <message>
        <source>The file “%1” could not be saved in the folder “%2”.</source>
        <translation>The file “%1” could not be saved in the folder “%2”.</translation>
    </message>
    <message>
        <source>Choose directory to save</source>
        <translation>Choose directory to save</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Save a still image of</source>
        <translation>Save a still image of</translation>
    </message>
    <message>
        <source>The player window</source>
        <translation>The player window</translation>
    </message>
    <message>
        <source>The video</source>
        <translation>The video</translation>
    </message>
    <message>
        <source>The video and the map</source>
        <translation>The video and the map</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Save to</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>Change…</translation>
    </message>
</context>
</TS>
