[InstallShield Silent]
Version=v7.00
File=Response File

[File Transfer]
OverwrittenReadOnly=NoToAll

[{A4D7C2E9-1F6B-4E83-9C5A-2B8E07F6D341}-DlgOrder]
Dlg0={A4D7C2E9-1F6B-4E83-9C5A-2B8E07F6D341}-SdWelcomeMaint-0
Count=3
Dlg1={A4D7C2E9-1F6B-4E83-9C5A-2B8E07F6D341}-MessageBox-0
Dlg2={A4D7C2E9-1F6B-4E83-9C5A-2B8E07F6D341}-SdFinishReboot-0

[{A4D7C2E9-1F6B-4E83-9C5A-2B8E07F6D341}-SdWelcomeMaint-0]
Result=303

[{A4D7C2E9-1F6B-4E83-9C5A-2B8E07F6D341}-MessageBox-0]
Result=6

[{A4D7C2E9-1F6B-4E83-9C5A-2B8E07F6D341}-SdFinishReboot-0]
Result=1
BootOption=0
