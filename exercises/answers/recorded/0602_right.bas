' Question 602: Tools, Options, Custom Lists, the countries of A4:A6 imported.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("A4:A6").Select
    Application.AddCustomList ListArray:=Range("A4:A6")
End Sub
#check
