' Question 603: Insert, Name, Define: Zone made to refer to C4:C7.
' expect: ""
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveWorkbook.Names.Add Name:="Zone", RefersToR1C1:="='Trimestre 1'!R4C3:R7C3"
End Sub
#check
