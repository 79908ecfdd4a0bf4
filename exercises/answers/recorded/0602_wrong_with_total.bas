' Question 602: the import range stretched over the label Total of A7.
' expect: A
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    Range("A4:A7").Select
    Application.AddCustomList ListArray:=Range("A4:A7")
End Sub
#check
