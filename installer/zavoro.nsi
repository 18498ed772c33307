; Installer of Quibar Zavoro for Windows: both programs, the help, Start-menu entries, the .nvg file
; association and an uninstaller that leaves nothing behind. Built by cmake/instaladorWindows.cmake,
; which passes VERSAO, VERSAO_EXIBIDA, ORIGEM (the installed tree), SAIDA and ICONE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUTO "Quibar Zavoro"
!define CHAVE_DESINSTALAR "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuibarZavoro"
!define TIPO_NVG "QuibarZavoro.ArquivoNavegacao"

Name "${PRODUTO} ${VERSAO_EXIBIDA}"
OutFile "${SAIDA}"
InstallDir "$PROGRAMFILES64\${PRODUTO}"
InstallDirRegKey HKLM "${CHAVE_DESINSTALAR}" "InstallLocation"
!if /FileExists "${ICONE}"
Icon "${ICONE}"
UninstallIcon "${ICONE}"
!endif

!include "MUI2.nsh"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

VIProductVersion "${VERSAO}.0.0"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "ProductName" "${PRODUTO}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "FileDescription" "Instalador do ${PRODUTO}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "FileVersion" "${VERSAO_EXIBIDA}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "ProductVersion" "${VERSAO_EXIBIDA}"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "CompanyName" "Equipe Quibar Zavoro"
VIAddVersionKey /LANG=${LANG_PORTUGUESEBR} "LegalCopyright" "Equipe Quibar Zavoro"

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Programas"
    SetOutPath "$INSTDIR"
    File "${ORIGEM}\*.exe"
    File /nonfatal "${ORIGEM}\*.pdf"
    WriteUninstaller "$INSTDIR\Desinstalar.exe"

    CreateDirectory "$SMPROGRAMS\${PRODUTO}"
    IfFileExists "$INSTDIR\quibar-zavoro.exe" 0 +2
        CreateShortcut "$SMPROGRAMS\${PRODUTO}\${PRODUTO}.lnk" "$INSTDIR\quibar-zavoro.exe"
    IfFileExists "$INSTDIR\Ajuda Quibar Zavoro.pdf" 0 +2
        CreateShortcut "$SMPROGRAMS\${PRODUTO}\Ajuda do ${PRODUTO}.lnk" "$INSTDIR\Ajuda Quibar Zavoro.pdf"
    CreateShortcut "$SMPROGRAMS\${PRODUTO}\Desinstalar o ${PRODUTO}.lnk" "$INSTDIR\Desinstalar.exe"

    ; Navigation files open in the application.
    WriteRegStr HKLM "Software\Classes\.nvg" "" "${TIPO_NVG}"
    WriteRegStr HKLM "Software\Classes\${TIPO_NVG}" "" "Arquivo de navegação Zavoro"
    WriteRegStr HKLM "Software\Classes\${TIPO_NVG}\DefaultIcon" "" "$INSTDIR\quibar-zavoro.exe,0"
    WriteRegStr HKLM "Software\Classes\${TIPO_NVG}\shell\open\command" "" '"$INSTDIR\quibar-zavoro.exe" "%1"'

    WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "DisplayName" "${PRODUTO}"
    WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "DisplayVersion" "${VERSAO_EXIBIDA}"
    WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "Publisher" "Equipe Quibar Zavoro"
    WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "DisplayIcon" "$INSTDIR\quibar-zavoro.exe,0"
    WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "UninstallString" '"$INSTDIR\Desinstalar.exe"'
    WriteRegStr HKLM "${CHAVE_DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\Desinstalar.exe" /S'
    WriteRegDWORD HKLM "${CHAVE_DESINSTALAR}" "NoModify" 1
    WriteRegDWORD HKLM "${CHAVE_DESINSTALAR}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ; Only what the installer put there: a file the user left in the folder keeps the folder.
    Delete "$INSTDIR\zavoro.exe"
    Delete "$INSTDIR\zavoro-exportacao.exe"
    Delete "$INSTDIR\zavoro-desenho.exe"
    Delete "$INSTDIR\quibar-zavoro.exe"
    Delete "$INSTDIR\Ajuda Quibar Zavoro.pdf"
    Delete "$INSTDIR\Desinstalar.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUTO}\${PRODUTO}.lnk"
    Delete "$SMPROGRAMS\${PRODUTO}\Ajuda do ${PRODUTO}.lnk"
    Delete "$SMPROGRAMS\${PRODUTO}\Desinstalar o ${PRODUTO}.lnk"
    RMDir "$SMPROGRAMS\${PRODUTO}"

    ReadRegStr $0 HKLM "Software\Classes\.nvg" ""
    StrCmp $0 "${TIPO_NVG}" 0 +2
        DeleteRegKey HKLM "Software\Classes\.nvg"
    DeleteRegKey HKLM "Software\Classes\${TIPO_NVG}"
    DeleteRegKey HKLM "${CHAVE_DESINSTALAR}"
SectionEnd
