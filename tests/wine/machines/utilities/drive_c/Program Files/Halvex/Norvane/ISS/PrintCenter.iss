[InstallShield Silent]
Version=v7.00
File=Response File

[{9A3F6D0B-E27C-4B15-8D4A-71C5F2E0B863}-DlgOrder]
Dlg0={9A3F6D0B-E27C-4B15-8D4A-71C5F2E0B863}-SdWelcomeMaint-0
Count=1

[{9A3F6D0B-E27C-4B15-8D4A-71C5F2E0B863}-SdWelcomeMaint-0]
Result=303
