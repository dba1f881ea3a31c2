[InstallShield Silent]
Version=v7.00
File=Response File

[File Transfer]
OverwrittenReadOnly=NoToAll

[{6B2E4F1A-93C7-4D58-A1E2-7F30C9D4B815}-DlgOrder]
Dlg0={6B2E4F1A-93C7-4D58-A1E2-7F30C9D4B815}-SdWelcomeMaint-0
Count=3
Dlg1={6B2E4F1A-93C7-4D58-A1E2-7F30C9D4B815}-MessageBox-0
Dlg2={6B2E4F1A-93C7-4D58-A1E2-7F30C9D4B815}-SdFinishReboot-0

[{6B2E4F1A-93C7-4D58-A1E2-7F30C9D4B815}-SdWelcomeMaint-0]
Result=303

[{6B2E4F1A-93C7-4D58-A1E2-7F30C9D4B815}-MessageBox-0]
Result=6

[{6B2E4F1A-93C7-4D58-A1E2-7F30C9D4B815}-SdFinishReboot-0]
Result=1
BootOption=0
