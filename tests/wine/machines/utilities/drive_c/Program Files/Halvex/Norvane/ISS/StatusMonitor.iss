[InstallShield Silent]
Version=v7.00
File=Response File

[{5E1B7C2A-4D93-4A68-B0F1-2C8D6E3A9F17}-DlgOrder]
Dlg0={5E1B7C2A-4D93-4A68-B0F1-2C8D6E3A9F17}-SdWelcomeMaint-0
Count=1

[{5E1B7C2A-4D93-4A68-B0F1-2C8D6E3A9F17}-SdWelcomeMaint-0]
Result=303
