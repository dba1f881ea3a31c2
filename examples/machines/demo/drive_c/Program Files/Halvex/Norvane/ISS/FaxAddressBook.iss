[InstallShield Silent]
Version=v7.00
File=Response File

[File Transfer]
OverwrittenReadOnly=NoToAll

[{3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}-DlgOrder]
Dlg0={3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}-SdWelcomeMaint-0
Count=3
Dlg1={3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}-MessageBox-0
Dlg2={3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}-SdFinishReboot-0

[{3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}-SdWelcomeMaint-0]
Result=303

[{3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}-MessageBox-0]
Result=6

[{3F9A1C6D-E2B4-47A0-8D15-C6E9B2A70F58}-SdFinishReboot-0]
Result=1
BootOption=0
