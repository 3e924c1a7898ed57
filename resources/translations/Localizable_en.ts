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
        <translation>G-sensor</translation>
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
        <source>The server answered with error %1.</source>
        <translation>The server answered with error %1.</translation>
    </message>
    <message>
        <source>The server redirected the request too many times.</source>
        <translation>The server redirected the request too many times.</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>The server stopped sending data.</translation>
    </message>
    <message>
        <source>The server did not send the whole page in time.</source>
        <translation>The server did not send the whole page in time.</translation>
    </message>
    <message>
        <source>The connection broke off before the whole file arrived.</source>
        <translation>The connection broke off before the whole file arrived.</translation>
    </message>
    <message>
        <source>There is not enough free space on the memory card.</source>
        <translation>There is not enough free space on the memory card.</translation>
    </message>
    <message>
        <source>There is not enough free space to save the file.</source>
        <translation>There is not enough free space to save the file.</translation>
    </message>
    <message>
        <source>The memory card cannot be found.</source>
        <translation>The memory card cannot be found.</translation>
    </message>
    <message>
        <source>The destination folder cannot be found.</source>
        <translation>The destination folder cannot be found.</translation>
    </message>
    <message>
        <source>The file could not be written: no permission or a read-only disk.</source>
        <translation>The file could not be written: no permission or a read-only disk.</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>The file could not be written.</translation>
    </message>
    <message>
        <source>The downloaded package is damaged or is not a zip archive.</source>
        <translation>The downloaded package is damaged or is not a zip archive.</translation>
    </message>
    <message>
        <source>The package holds links or names that lead outside the memory card, so it was not unpacked.</source>
        <translation>The package holds links or names that lead outside the memory card, so it was not unpacked.</translation>
    </message>
    <message>
        <source>The package holds a file named like the player's own temporary files, so it was not unpacked.</source>
        <translation>The package holds a file named like the player's own temporary files, so it was not unpacked.</translation>
    </message>
    <message>
        <source>The package is too large to unpack.</source>
        <translation>The package is too large to unpack.</translation>
    </message>
    <message>
        <source>The package could not be unpacked; the memory card was left as it was.</source>
        <translation>The package could not be unpacked; the memory card was left as it was.</translation>
    </message>
    <message>
        <source>The firmware version page could not be read.</source>
        <translation>The firmware version page could not be read.</translation>
    </message>
    <message>
        <source>The update could not be downloaded.</source>
        <translation>The update could not be downloaded.</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>Copy the recording as a MOV clip with</source>
        <translation>Copy the recording as a MOV clip with</translation>
    </message>
    <message>
        <source>Video and sound</source>
        <translation>Video and sound</translation>
    </message>
    <message>
        <source>Video only</source>
        <translation>Video only</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Save to</translation>
    </message>
    <message>
        <source>Change…</source>
        <translation>Change…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
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
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Kavrin Player Help</source>
        <translation>Kavrin Player Help</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Play / pause</source>
        <translation>Play / pause</translation>
    </message>
    <message>
        <source>Back / forward 10 seconds</source>
        <translation>Back / forward 10 seconds</translation>
    </message>
    <message>
        <source>Volume up / down</source>
        <translation>Volume up / down</translation>
    </message>
    <message>
        <source>Previous / next recording</source>
        <translation>Previous / next recording</translation>
    </message>
    <message>
        <source>Speed 0.5x / 1.0x / 1.5x / 2.0x</source>
        <translation>Speed 0.5x / 1.0x / 1.5x / 2.0x</translation>
    </message>
    <message>
        <source>Zoom out / in</source>
        <translation>Zoom out / in</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Remove the recording from the list</source>
        <translation>Remove the recording from the list</translation>
    </message>
    <message>
        <source>F11 / Ctrl + Return</source>
        <translation>F11 / Ctrl + Return</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Leave full screen</translation>
    </message>
    <message>
        <source>Mouse</source>
        <translation>Mouse</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Double-click</translation>
    </message>
    <message>
        <source>Play a recording of the list</source>
        <translation>Play a recording of the list</translation>
    </message>
    <message>
        <source>Right-click</source>
        <translation>Right-click</translation>
    </message>
    <message>
        <source>Capture or back up the video</source>
        <translation>Capture or back up the video</translation>
    </message>
    <message>
        <source>Drag</source>
        <translation>Drag</translation>
    </message>
    <message>
        <source>Move a zoomed picture</source>
        <translation>Move a zoomed picture</translation>
    </message>
    <message>
        <source>1CH … ALL</source>
        <translation>1CH … ALL</translation>
    </message>
    <message>
        <source>Show one channel or all of them</source>
        <translation>Show one channel or all of them</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Find recordings by district</source>
        <translation>Find recordings by district</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Visit the maker's web site</source>
        <translation>Visit the maker's web site</translation>
    </message>
    <message>
        <source>Play position</source>
        <translation>Play position</translation>
    </message>
    <message>
        <source>Open a folder</source>
        <translation>Open a folder</translation>
    </message>
    <message>
        <source>Previous recording</source>
        <translation>Previous recording</translation>
    </message>
    <message>
        <source>Back 10 seconds</source>
        <translation>Back 10 seconds</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Forward 10 seconds</source>
        <translation>Forward 10 seconds</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>Next recording</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Play speed</source>
        <translation>Play speed</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Black and white</source>
        <translation>Black and white</translation>
    </message>
    <message>
        <source>Next channel</source>
        <translation>Next channel</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>Back up</source>
        <translation>Back up</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Channel 1</source>
        <translation>Channel 1</translation>
    </message>
    <message>
        <source>Channel 2</source>
        <translation>Channel 2</translation>
    </message>
    <message>
        <source>Channel 3</source>
        <translation>Channel 3</translation>
    </message>
    <message>
        <source>Channel 4</source>
        <translation>Channel 4</translation>
    </message>
    <message>
        <source>ALL</source>
        <translation>ALL</translation>
    </message>
    <message>
        <source>All channels</source>
        <translation>All channels</translation>
    </message>
    <message>
        <source>Enlarge the window</source>
        <translation>Enlarge the window</translation>
    </message>
    <message>
        <source>G-SENSOR</source>
        <translation>G-sensor</translation>
    </message>
    <message>
        <source>GPS Off</source>
        <translation>GPS Off</translation>
    </message>
    <message>
        <source>Recording kind</source>
        <translation>Recording kind</translation>
    </message>
    <message>
        <source>Search district</source>
        <translation>Search district</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Downloading the installer</source>
        <translation>Downloading the installer</translation>
    </message>
    <message>
        <source>0 bytes</source>
        <translation>0 bytes</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Check for a new version at start-up</source>
        <translation>Check for a new version at start-up</translation>
    </message>
    <message>
        <source>Memory card</source>
        <translation>Memory card</translation>
    </message>
    <message>
        <source>Memory card downloads</source>
        <translation>Memory card downloads</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Speed cameras</source>
        <translation>Safe Driving Assistant</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>GPS On</source>
        <translation>GPS On</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Choose video file or directory</source>
        <translation>Choose video file or directory</translation>
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
        <source>You don't have permission to write in this folder.</source>
        <translation>You don't have permission to write in this folder.</translation>
    </message>
    <message>
        <source>The folder is on a read-only disk.</source>
        <translation>The folder is on a read-only disk.</translation>
    </message>
    <message>
        <source>No space left on device.</source>
        <translation>No space left on device.</translation>
    </message>
    <message>
        <source>The file is too large for the disk.</source>
        <translation>The file is too large for the disk.</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>The folder does not exist.</translation>
    </message>
    <message>
        <source>A folder of the same name is in the way.</source>
        <translation>A folder of the same name is in the way.</translation>
    </message>
    <message>
        <source>Backup Error</source>
        <translation>Backup Error</translation>
    </message>
    <message>
        <source>These backup files could not be written:</source>
        <translation>These backup files could not be written:</translation>
    </message>
    <message>
        <source>No video stream could be read from the recording.</source>
        <translation>No video stream could be read from the recording.</translation>
    </message>
    <message>
        <source>The ffmpeg tool was not found.</source>
        <translation>The ffmpeg tool was not found.</translation>
    </message>
    <message>
        <source>The video could not be copied.</source>
        <translation>The video could not be copied.</translation>
    </message>
    <message>
        <source>This is not a file name.</source>
        <translation>This is not a file name.</translation>
    </message>
    <message>
        <source>The recording cannot be read: it is not a regular file.</source>
        <translation>The recording cannot be read: it is not a regular file.</translation>
    </message>
    <message>
        <source>Backup Complete</source>
        <translation>Backup Complete</translation>
    </message>
    <message>
        <source>The backup was saved in the folder “%1”:</source>
        <translation>The backup was saved in the folder “%1”:</translation>
    </message>
    <message>
        <source>The recording has no sound: the video was copied without it.</source>
        <translation>The recording has no sound: the video was copied without it.</translation>
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
        <source>This service is not configured.</source>
        <translation>This service is not configured.</translation>
    </message>
</context>
</TS>
